#include "backend/qt_drag_session.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace {

using backend::DragItem;

DragItem url(const char* text) {
    return {QUrl(QString::fromUtf8(text), QUrl::StrictMode), QRect(), QPixmap()};
}
DragItem string(const char* text) {
    return {QString::fromUtf8(text), QRect(), QPixmap()};
}

QByteArray utf16(const QString& text) {
    return {reinterpret_cast<const char*>(text.utf16()), text.size() * 2};
}

struct Offered {
    const char* name;
    QList<DragItem> items;
    QStringList mimeFormats;
    QList<QPair<QByteArray, QByteArray>> targets;
};

class DragOfferTest : public ::testing::TestWithParam<Offered> {};

// Every target offered carries its data, and nothing else is offered; Qt's own data object
// answers the same.
TEST_P(DragOfferTest, EveryOfferedTargetCarriesItsData) {
    const Offered& expected = GetParam();
    const backend::DragOffer offer = backend::makeDragOffer(expected.items);
    EXPECT_EQ(offer.mimeFormats, expected.mimeFormats);
    EXPECT_EQ(offer.targets, expected.targets);
    const auto data = backend::makeDragMimeData(expected.items);
    for (const auto& [target, bytes] : expected.targets) {
        if (target != "STRING" && target != "TEXT" && target != "UTF8_STRING") {
            EXPECT_EQ(data->data(QString::fromLatin1(target)), bytes) << target.constData();
        }
    }
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), offer.text);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, DragOfferTest,
    ::testing::Values(
        // A name with a space, a percent sign and a byte that is no UTF-8: its path as bytes.
        Offered{"file",
                {url("file:///home/demo/a%20b%25%FF.txt")},
                {QStringLiteral("text/uri-list")},
                {{"text/uri-list", "file:///home/demo/a%20b%25%FF.txt\r\n"},
                 {"text/x-moz-url",
                  utf16(QStringLiteral("file:///home/demo/a%20b%25%FF.txt\na b%\uFFFD.txt"))},
                 {"text/plain", "/home/demo/a b%\xFF.txt"}}},
        Offered{"latin1",
                {string("caf\xC3\xA9"), string("two")},
                {QStringLiteral("text/plain"), QStringLiteral("text/plain;charset=utf-8")},
                {{"text/plain", "caf\xC3\xA9\ntwo"},
                 {"text/plain;charset=utf-8", "caf\xC3\xA9\ntwo"},
                 {"UTF8_STRING", "caf\xC3\xA9\ntwo"},
                 {"STRING", "caf\xE9\ntwo"},
                 {"TEXT", "caf\xE9\ntwo"}}},
        // Latin-1 cannot hold it: no format that would have to.
        Offered{"beyondLatin1",
                {string("\xE2\x9C\x93 done")},
                {QStringLiteral("UTF8_STRING"), QStringLiteral("text/plain;charset=utf-8")},
                {{"text/plain;charset=utf-8", "\xE2\x9C\x93 done"},
                 {"UTF8_STRING", "\xE2\x9C\x93 done"}}},
        // A URL stays out of the text of an entry with text of its own.
        Offered{"mixed",
                {url("file:///home/demo/a.txt"), string("first"), string("second\ttext")},
                {QStringLiteral("text/uri-list"), QStringLiteral("text/plain"),
                 QStringLiteral("text/plain;charset=utf-8")},
                {{"text/uri-list", "file:///home/demo/a.txt\r\n"},
                 {"text/x-moz-url", utf16(QStringLiteral("file:///home/demo/a.txt\na.txt"))},
                 {"text/plain", "first\nsecond\ttext"},
                 {"text/plain;charset=utf-8", "first\nsecond\ttext"},
                 {"UTF8_STRING", "first\nsecond\ttext"},
                 {"STRING", "first\nsecond\ttext"},
                 {"TEXT", "first\nsecond\ttext"}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct Proposal {
    Qt::DropActions offered;
    Qt::KeyboardModifiers modifiers;
    Qt::DropAction proposed;
};

class DropActionTest : public ::testing::TestWithParam<Proposal> {};

TEST_P(DropActionTest, CopyIsProposedUnlessShiftAsksForAnAllowedMove) {
    EXPECT_EQ(backend::proposedDropAction(GetParam().offered, GetParam().modifiers),
              GetParam().proposed);
}

INSTANTIATE_TEST_SUITE_P(
    Masks, DropActionTest,
    ::testing::Values(Proposal{Qt::CopyAction | Qt::MoveAction, Qt::NoModifier, Qt::CopyAction},
                      Proposal{Qt::CopyAction | Qt::MoveAction, Qt::ShiftModifier, Qt::MoveAction},
                      Proposal{Qt::CopyAction | Qt::MoveAction,
                               Qt::ShiftModifier | Qt::ControlModifier, Qt::CopyAction},
                      Proposal{Qt::CopyAction, Qt::NoModifier, Qt::CopyAction},
                      Proposal{Qt::CopyAction, Qt::ShiftModifier, Qt::CopyAction}));

TEST(DropActionTest, ThePerformedActionIsReportedNoneForRefusals) {
    EXPECT_EQ(backend::performedAction(Qt::CopyAction), Qt::CopyAction);
    EXPECT_EQ(backend::performedAction(Qt::TargetMoveAction), Qt::MoveAction);
    EXPECT_EQ(backend::performedAction(Qt::IgnoreAction), Qt::IgnoreAction);
    EXPECT_EQ(backend::performedAction(Qt::ActionMask), Qt::IgnoreAction);
}

} // namespace
