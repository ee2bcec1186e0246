#include "backend/qt_drag_session.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace {

using backend::DraggingItem;

DraggingItem url(const char* text) {
    return {QUrl(QString::fromUtf8(text), QUrl::StrictMode), QRect(), QPixmap()};
}
DraggingItem string(const char* text) {
    return {QString::fromUtf8(text), QRect(), QPixmap()};
}

TEST(DragMimeDataTest, UrlsGoToTheUriListAndStringsToPlainTextEachInOrder) {
    const auto data =
        backend::makeDragMimeData({url("file:///home/demo/a.txt"), string("first text"),
                                   url("https://example.org/x?y=1"), string("second\ttext")});
    EXPECT_EQ(data->formats(),
              QStringList({QStringLiteral("text/uri-list"), QStringLiteral("text/plain")}));
    EXPECT_EQ(data->data(QStringLiteral("text/uri-list")),
              QByteArray("file:///home/demo/a.txt\r\nhttps://example.org/x?y=1\r\n"));
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("first text\nsecond\ttext"));
}

TEST(DragMimeDataTest, UrlsAloneNeverShowAsText) {
    const auto data = backend::makeDragMimeData({url("file:///home/demo/a.txt")});
    EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/uri-list")});
    EXPECT_TRUE(data->text().isEmpty());
    // What a platform integration asks for a receiver that wants text.
    EXPECT_TRUE(data->data(QStringLiteral("text/plain")).isEmpty());
    EXPECT_EQ(data->urls(), QList<QUrl>{QUrl(QStringLiteral("file:///home/demo/a.txt"))});
}

TEST(DragMimeDataTest, StringsAloneNeverShowAsUrls) {
    const auto data = backend::makeDragMimeData({string("file:///home/demo/a.txt")});
    EXPECT_EQ(data->formats(), QStringList{QStringLiteral("text/plain")});
    EXPECT_FALSE(data->hasUrls());
    EXPECT_EQ(data->text(), QStringLiteral("file:///home/demo/a.txt"));
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("file:///home/demo/a.txt"));
}

TEST(DragMimeDataTest, TextIsUtf8) {
    const auto data = backend::makeDragMimeData({string("caf\xC3\xA9 \xE2\x9C\x93")});
    EXPECT_EQ(data->data(QStringLiteral("text/plain")), QByteArray("caf\xC3\xA9 \xE2\x9C\x93"));
}

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
