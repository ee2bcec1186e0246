#include "shelf/mime_item_provider_factory.h"
#include "shelf/paste_intake.h"
#include "support/fake_main_queue.h"
#include "support/recording_log.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>

using shelf::BucketItem;
using shelf::UTType;

namespace {

class PasteIntakeTest : public testing::Test {
protected:
    QTemporaryDir cache;
    testing_support::FakeMainQueue queue;
    testing_support::RecordingLog log;
    shelf::MimeItemProviderFactory providers{cache.path()};
    QList<BucketItem> added;
    shelf::PasteIntake intake{queue, log, providers,
                              [this](const BucketItem& item) { added << item; }};

    // Lets the loads of a paste finish and commit.
    bool settle(qsizetype count) {
        const QDeadlineTimer deadline(5000);
        while (added.size() < count && !deadline.hasExpired()) {
            providers.waitForDrops();
            queue.drain();
        }
        return added.size() == count;
    }
};

} // namespace

TEST_F(PasteIntakeTest, ClipboardFilesBecomeOneEntryAsADropWould) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/one.txt")),
                   QUrl::fromLocalFile(QStringLiteral("/tmp/two.txt"))});
    data->setText(QStringLiteral("ignored beside files"));
    QGuiApplication::clipboard()->setMimeData(data);
    ASSERT_TRUE(intake.pasteClipboard());
    ASSERT_TRUE(settle(1));
    ASSERT_EQ(added.front().items.size(), 2);
    EXPECT_EQ(added.front().items.front().type, UTType::fileURL);
    EXPECT_TRUE(log.lines().contains(QStringLiteral("Dropping 2 items")));
}

TEST_F(PasteIntakeTest, ClipboardTextBecomesATextEntry) {
    QGuiApplication::clipboard()->setText(QStringLiteral("pasted words"));
    ASSERT_TRUE(intake.pasteClipboard());
    ASSERT_TRUE(settle(1));
    EXPECT_EQ(added.front().items.front().content, QStringLiteral("pasted words"));
}

TEST_F(PasteIntakeTest, EmptyClipboardMakesNothing) {
    QGuiApplication::clipboard()->clear();
    EXPECT_FALSE(intake.pasteClipboard());
    QMimeData unusable;
    unusable.setData(QStringLiteral("application/x-unknown"), "x");
    EXPECT_FALSE(intake.paste(unusable));
    providers.waitForDrops();
    queue.drain();
    EXPECT_TRUE(added.isEmpty());
}
