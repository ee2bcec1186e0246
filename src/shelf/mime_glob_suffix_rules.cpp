#include "shelf/mime_glob_suffix_rules.h"

#include <QFile>
#include <QStandardPaths>

#include <algorithm>

namespace shelf {

namespace {

// The number of characters a wildcard-free-of-'*' pattern matches: a [set] counts as one.
qsizetype fixedLength(const QString& pattern) {
    qsizetype length = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i, ++length) {
        if (pattern.at(i) == QLatin1Char('[')) {
            const qsizetype close = pattern.indexOf(QLatin1Char(']'), i + 1);
            if (close < 0)
                return -1;
            i = close;
        }
    }
    return length;
}

} // namespace

MimeGlobSuffixRules::MimeGlobSuffixRules() {
    QStringList lines;
    const QStringList files = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation,
                                                        QStringLiteral("mime/globs2"));
    for (const QString& path : files) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly | QIODevice::Text))
            lines << QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    }
    *this = MimeGlobSuffixRules(lines);
}

MimeGlobSuffixRules::MimeGlobSuffixRules(const QStringList& globLines) {
    for (const QString& line : globLines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char(':'));
        if (fields.size() < 3)
            continue;
        m_isUsable = true;
        addPattern(fields.at(2), fields.size() > 3 && fields.at(3).contains(QLatin1String("cs")));
    }
    // One match per name instead of one per pattern: the expression fails at the first
    // character for almost every name.
    const auto alternation = [](const QStringList& expressions) {
        return expressions.isEmpty()
                   ? QStringLiteral("(?!)")
                   : QStringLiteral("(?:%1)").arg(expressions.join(QLatin1Char('|')));
    };
    m_ignoringCase = QRegularExpression(alternation(m_anchoredIgnoringCase),
                                        QRegularExpression::CaseInsensitiveOption);
    m_withCase = QRegularExpression(alternation(m_anchoredWithCase));
    m_ignoringCase.optimize();
    m_withCase.optimize();
}

// Where a pattern can match, given a name = stem "." suffix (the stem holds no dot):
// "*.x" only at a dot, so within ".suffix"; "*x" (no '*', no dot in x) in the last |x|
// characters; anything else from the start of the name, so the stem matters for it.
void MimeGlobSuffixRules::addPattern(const QString& pattern, bool isCaseSensitive) {
    if (pattern.startsWith(QLatin1String("*.")))
        return;
    if (pattern.startsWith(QLatin1Char('*'))) {
        const QString tail = pattern.mid(1);
        const qsizetype length = tail.contains(QLatin1Char('*')) || tail.contains(QLatin1Char('.'))
                                     ? -1
                                     : fixedLength(tail);
        if (length < 0)
            m_isUsable = false; // a tail that may reach into the stem: never trust a suffix
        else
            m_longestTail = std::max(m_longestTail, length);
        if (tail.contains(QLatin1Char('[')) || tail.contains(QLatin1Char('?')))
            m_areTailsPlain = false;
        else
            m_tails.append({tail, isCaseSensitive});
        return;
    }
    if (pattern.isEmpty())
        return;
    // The conversion anchors the expression at both ends.
    (isCaseSensitive ? m_anchoredWithCase : m_anchoredIgnoringCase)
        << QRegularExpression::wildcardToRegularExpression(pattern);
    const QChar first = pattern.front();
    if (first == QLatin1Char('[') || first == QLatin1Char('?')) {
        m_wildcardStartLengths.insert(pattern.contains(QLatin1Char('*')) ? -1
                                                                         : fixedLength(pattern));
    } else {
        m_firstCharacters.insert(first.toLower());
        m_firstCharacters.insert(first.toUpper());
    }
}

bool MimeGlobSuffixRules::matchesAnchored(const QString& fileName) const {
    const bool mayMatch = m_firstCharacters.contains(fileName.front()) ||
                          m_wildcardStartLengths.contains(fileName.size()) ||
                          m_wildcardStartLengths.contains(-1);
    return mayMatch &&
           (m_ignoringCase.match(fileName).hasMatch() || m_withCase.match(fileName).hasMatch());
}

QString MimeGlobSuffixRules::decidingSuffix(const QString& fileName) const {
    if (!m_isUsable)
        return {};
    const qsizetype dot = fileName.indexOf(QLatin1Char('.'));
    if (dot < 0 || fileName.size() - dot - 1 < std::max<qsizetype>(m_longestTail, 1))
        return {};
    if (matchesAnchored(fileName))
        return {};
    return fileName.mid(dot + 1);
}

bool MimeGlobSuffixRules::matchesNoPattern(const QString& fileName) const {
    if (!m_isUsable || !m_areTailsPlain || fileName.isEmpty() ||
        fileName.contains(QLatin1Char('.')) || matchesAnchored(fileName))
        return false;
    return std::none_of(m_tails.cbegin(), m_tails.cend(), [&](const auto& tail) {
        return fileName.endsWith(tail.first, tail.second ? Qt::CaseSensitive : Qt::CaseInsensitive);
    });
}

} // namespace shelf
