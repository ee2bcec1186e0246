#pragma once

#include <QList>
#include <QRegularExpression>
#include <QSet>
#include <QString>
#include <QStringList>

#include <utility>

namespace shelf {

// Tells when the shared MIME database's glob patterns decide a file name's type by the part
// after its first dot alone, so that the answer for one name holds for every name sharing
// that part ("clip 1.mp4", "clip 2.mp4"). Matching a name against the database costs
// microseconds; a drop of 100,000 files mostly repeats a few suffixes.
class MimeGlobSuffixRules final {
public:
    // Reads the globs2 files of the shared MIME database; when there are none, no name is
    // suffix-decided.
    MimeGlobSuffixRules();
    // From the lines of globs2 files ("weight:type:pattern[:flags]").
    explicit MimeGlobSuffixRules(const QStringList& globLines);

    // The part after the first dot when it alone decides the name's type; a null string when
    // the rest of the name could matter (README.md, Makefile.am, 123.vdr, no dot at all).
    QString decidingSuffix(const QString& fileName) const;
    // True when no pattern can match `fileName`, a name without a dot ("notes", "f100"): its
    // type is then the database's default, as for every such name.
    bool matchesNoPattern(const QString& fileName) const;

private:
    void addPattern(const QString& pattern, bool isCaseSensitive);
    bool matchesAnchored(const QString& fileName) const;

    bool m_isUsable = false;
    qsizetype m_longestTail = 0; // of "*xyz" patterns whose tail has no dot
    // Those tails when they are plain text ("~", ",v"), with whether their case matters.
    QList<std::pair<QString, bool>> m_tails;
    bool m_areTailsPlain = true;
    // The patterns matched from the start of a name, as one alternation each way of case.
    QStringList m_anchoredIgnoringCase;
    QStringList m_anchoredWithCase;
    QRegularExpression m_ignoringCase;
    QRegularExpression m_withCase;
    // A cheap first test: the first characters an anchored pattern can start with, and the
    // lengths of names those starting with a wildcard can match (-1: any length).
    QSet<QChar> m_firstCharacters;
    QSet<qsizetype> m_wildcardStartLengths;
};

} // namespace shelf
