#include "views/drop_region_view.h"

#include "shelf/mime_item_provider_factory.h"
#include "support/fake_drag_selection.h"
#include "support/fake_main_queue.h"
#include "support/fake_pending_drop.h"
#include "support/qt_printers.h"
#include "support/raw_mime_data.h"
#include "support/recording_log.h"
#include "support/wait_until.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <map>

using shelf::BucketItem;
using shelf::UTType;
using views::DropRegionView;

namespace {

// An image in a format Qt decodes, one red pixel.
const QByteArray kOnePixel = "/* XPM */ static char* p[] = {\"1 1 1 1\", \"r c #ff0000\", \"r\"};";

class DropRegionViewTest : public ::testing::Test {
protected:
    // Enters and drops as the toolkit would (only the widget that accepted the enter gets the
    // drop), then lets the loads and the commit run to the end.
    bool drop(const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction,
              Qt::DropAction* performed = nullptr) {
        if (!enter(data, actions))
            return false;
        QDropEvent event(QPointF(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        event.setDropAction(Qt::MoveAction);
        QCoreApplication::sendEvent(&view, &event);
        factory.waitForDrops();
        queue.drain();
        if (performed)
            *performed = event.dropAction();
        return event.isAccepted();
    }

    bool enter(const QMimeData& data, Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
        QDragEnterEvent event(QPoint(10, 10), actions, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&view, &event);
        return event.isAccepted();
    }

    void leave() {
        QDragLeaveEvent event;
        QCoreApplication::sendEvent(&view, &event);
    }

    static std::unique_ptr<QMimeData> mime(const QString& format, const QByteArray& bytes) {
        return std::make_unique<testing_support::RawMimeData>(
            testing_support::RawMimeData::Formats{{format, bytes}});
    }

    QTemporaryDir cache;
    testing_support::FakeMainQueue queue;
    testing_support::RecordingLog log;
    shelf::MimeItemProviderFactory factory{cache.filePath("holdfin")};
    std::vector<BucketItem> added;
    DropRegionView view{queue,   log,
                        nullptr, nullptr,
                        factory, [this](const BucketItem& item) { added.push_back(item); }};
};

// ---- File names that are hard to carry: every byte comes back.

struct NameCase {
    const char* name;
    QByteArray fileName;
    QString displayName;
    bool isRawInList; // sent unencoded, as sloppy sources do
};

void PrintTo(const NameCase& c, std::ostream* os) {
    *os << c.name;
}

class DropRegionNameTest : public DropRegionViewTest,
                           public ::testing::WithParamInterface<NameCase> {};

TEST_P(DropRegionNameTest, FileNameSurvivesByteExactInThePayload) {
    const NameCase& c = GetParam();
    const QByteArray path = "/home/demo/" + c.fileName;
    const QByteArray line = "file://" + (c.isRawInList ? path : path.toPercentEncoding("/"));

    EXPECT_TRUE(drop(*mime("text/uri-list", line + "\r\n")));

    ASSERT_EQ(added.size(), 1u);
    ASSERT_EQ(added[0].items.size(), 1);
    const auto& payload = added[0].items[0];
    EXPECT_EQ(payload.type, UTType::fileURL);
    const QUrl url = QUrl::fromEncoded(payload.content.toLatin1(), QUrl::StrictMode);
    ASSERT_TRUE(url.isValid()) << payload.content.toStdString();
    EXPECT_EQ(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()), path);
    EXPECT_EQ(payload.displayName(), c.displayName);
    EXPECT_EQ(log.lines().last(), "Dropping 1 items");
}

INSTANTIATE_TEST_SUITE_P(
    Names, DropRegionNameTest,
    ::testing::Values(NameCase{"Spaces", "my report.pdf", "my report.pdf", false},
                      NameCase{"Percent", "100% done %41.pdf", "100% done %41.pdf", false},
                      NameCase{"Newline", "two\nlines.pdf", "two\nlines.pdf", false},
                      NameCase{"HashAndQuestion", "#1 why?.pdf", "#1 why?.pdf", false},
                      NameCase{"Utf8", "caf\xc3\xa9.pdf", QString::fromUtf8("caf\xc3\xa9.pdf"),
                               false},
                      NameCase{"NotUtf8", "caf\xe9.pdf", "caf%E9.pdf", false},
                      NameCase{"RawSpaceAndLatin1", "a b\xe9.pdf", "a%20b%E9.pdf", true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- Drops.

TEST_F(DropRegionViewTest, DropOfFilesAndFolderBecomesOneEntryInOrder) {
    const QByteArray list = "file:///home/demo/clip.mp4\r\nfile:///home/demo/Photos/\r\n"
                            "file:///home/demo/paper.pdf\r\n";
    Qt::DropAction performed = Qt::IgnoreAction;
    EXPECT_TRUE(drop(*mime("text/uri-list", list), Qt::CopyAction | Qt::MoveAction, &performed));

    EXPECT_EQ(performed, Qt::CopyAction) << "a source told 'moved' may delete its files";
    ASSERT_EQ(added.size(), 1u);
    // Payloads come in the order their loads finish, which the worker threads decide.
    std::map<QString, UTType> payloads;
    for (const auto& payload : added[0].items)
        payloads[payload.content] = payload.type;
    EXPECT_EQ(payloads,
              (std::map<QString, UTType>{{"file:///home/demo/clip.mp4", UTType::fileURL},
                                         {"file:///home/demo/Photos/", UTType::folder},
                                         {"file:///home/demo/paper.pdf", UTType::fileURL}}));
    EXPECT_TRUE(
        log.lines().contains("Dropped File URL (public.mpeg-4): file:///home/demo/clip.mp4"));
    EXPECT_TRUE(log.lines().contains("Dropped File URL: file:///home/demo/paper.pdf"));
}

TEST_F(DropRegionViewTest, TextDropKeepsTheText) {
    EXPECT_TRUE(drop(*mime("text/plain;charset=utf-8", "  to do\n")));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].items[0].content, "  to do\n");
    EXPECT_EQ(added[0].items[0].type, UTType::plainText);
}

TEST_F(DropRegionViewTest, InvalidUtf8TextAddsNothing) {
    drop(*mime("text/plain", QByteArray("caf\xe9")));
    EXPECT_TRUE(added.empty());
    EXPECT_EQ(log.lines().mid(1),
              (QStringList{"Failed to extract file content or URL for type public.plain-text",
                           "Received 0 items"}));
}

TEST_F(DropRegionViewTest, ImageBytesBecomeAnImageFile) {
    drop(*mime("image/gif", "GIF89a"));
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].items[0].type, UTType::image);
    const QUrl url(added[0].items[0].content);
    EXPECT_TRUE(url.isLocalFile());
    EXPECT_TRUE(QFile::exists(url.toLocalFile()));
}

TEST_F(DropRegionViewTest, EmptyUriListIsRefusedQuietlyWithoutAnEntry) {
    EXPECT_FALSE(drop(*mime("text/uri-list", "\r\n# nothing\r\n")));
    EXPECT_TRUE(added.empty());
    EXPECT_EQ(log.lines(), QStringList{"Received 0 items"});
}

// What a source that did not answer in time gives: the source is told nothing was taken.
TEST_F(DropRegionViewTest, EmptyTextIsRefusedWithoutAnEntry) {
    EXPECT_FALSE(drop(*mime("text/plain", QByteArray())));
    EXPECT_TRUE(added.empty());
    EXPECT_EQ(log.lines(), QStringList{"Received 0 items"});
}

// ---- Hover state and what it accepts.

TEST_F(DropRegionViewTest, AcceptableDragTargetsTheRegionUntilItLeaves) {
    EXPECT_FALSE(view.isDragTargeted());
    EXPECT_EQ(view.symbolName(), "digitalcrown.horizontal.press");

    EXPECT_TRUE(enter(*mime("text/uri-list", "file:///a.txt\r\n")));
    EXPECT_TRUE(view.isDragTargeted());
    EXPECT_EQ(view.symbolName(), "digitalcrown.horizontal.press.fill");

    leave();
    EXPECT_FALSE(view.isDragTargeted());
}

TEST_F(DropRegionViewTest, DropEndsTheTargetedState) {
    EXPECT_TRUE(drop(*mime("text/plain", "x")));
    EXPECT_FALSE(view.isDragTargeted());
}

TEST_F(DropRegionViewTest, RefusesWhatItCannotTake) {
    EXPECT_FALSE(enter(*mime("application/x-color", QByteArray(8, '\0'))));
    EXPECT_FALSE(enter(*mime("text/uri-list", "file:///a.txt"), Qt::MoveAction));
    EXPECT_FALSE(view.isDragTargeted());
    EXPECT_FALSE(drop(*mime("application/x-color", QByteArray(8, '\0'))));
    EXPECT_TRUE(log.lines().isEmpty());
}

// Reading a source that never answered would hold the GUI thread for the toolkit's timeout.
TEST_F(DropRegionViewTest, RefusesSourcesThatNeverAnsweredUntilTheyDo) {
    testing_support::FakeDragSelection dragSelection;
    DropRegionView region(queue, log, nullptr, &dragSelection, factory,
                          [this](const BucketItem& item) { added.push_back(item); });
    const auto data = mime("text/uri-list", "file:///a.txt\r\n");
    auto enterRegion = [&] {
        QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&region, &event);
        return event.isAccepted();
    };
    dragSelection.setSourceAnswered(false);
    EXPECT_FALSE(enterRegion());
    QDropEvent dropEvent(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton,
                         Qt::NoModifier);
    QCoreApplication::sendEvent(&region, &dropEvent);
    EXPECT_FALSE(dropEvent.isAccepted());
    EXPECT_TRUE(log.lines().isEmpty()) << "nothing was read";

    dragSelection.setSourceAnswered(true);
    EXPECT_TRUE(enterRegion());
}

// ---- Drops the backend took over from the toolkit: read a format at a time, never waiting.

class TakenOverDropTest : public DropRegionViewTest {
protected:
    TakenOverDropTest() { dragSelection.setTakesOverDrops(true); }

    // Enters the region with a drag offering `formats`, drops it as the backend would and
    // waits until the drop is finished.
    std::shared_ptr<testing_support::FakePendingDrop>
    dropTakenOver(const testing_support::FakePendingDrop::Formats& formats) {
        auto drop = std::make_shared<testing_support::FakePendingDrop>(formats);
        testing_support::RawMimeData offer(formats);
        QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, &offer, Qt::LeftButton,
                              Qt::NoModifier);
        QCoreApplication::sendEvent(&region, &event);
        EXPECT_TRUE(event.isAccepted());
        EXPECT_TRUE(dragSelection.dropTakenOver(drop)) << "the region took the drop over";
        EXPECT_TRUE(testing_support::waitUntil([&] { return !drop->finishes().isEmpty(); },
                                               [&] {
                                                   factory.waitForDrops();
                                                   queue.drain();
                                               }));
        return drop;
    }

    testing_support::FakeDragSelection dragSelection;
    DropRegionView region{queue,   log,
                          nullptr, &dragSelection,
                          factory, [this](const BucketItem& item) { added.push_back(item); }};
};

TEST_F(TakenOverDropTest, ReadsOnlyWhatTheEntryNeedsAndTellsTheSourceItWasTaken) {
    const auto drop =
        dropTakenOver({{"text/plain", "the link"}, {"text/uri-list", "https://example.org/\r\n"}});

    EXPECT_EQ(drop->reads(), QStringList{"text/uri-list"}) << "the text is never asked for";
    EXPECT_EQ(drop->finishes(), QList<bool>{true});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].items[0].content, "https://example.org/");
    EXPECT_FALSE(region.isDragTargeted());
}

TEST_F(TakenOverDropTest, FallsBackFormatByFormatAsTheToolkitReadWould) {
    const auto drop = dropTakenOver({{"text/uri-list", "# nothing\r\n"},
                                     {"text/plain;charset=utf-8", ""},
                                     {"image/png", ""},
                                     {"application/x-qt-image", kOnePixel}});

    EXPECT_EQ(drop->reads(), (QStringList{"text/uri-list", "text/plain;charset=utf-8", "image/png",
                                          "application/x-qt-image"}));
    EXPECT_EQ(drop->finishes(), QList<bool>{true});
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0].items[0].type, UTType::image);
}

// What a source that stalled gives once the backend's bound has passed.
TEST_F(TakenOverDropTest, DropThatGaveNothingIsRefused) {
    const auto drop = dropTakenOver({{"text/uri-list", ""}});

    EXPECT_EQ(drop->finishes(), QList<bool>{false});
    EXPECT_TRUE(added.empty());
    EXPECT_EQ(log.lines(), QStringList{"Received 0 items"});
    EXPECT_FALSE(region.isDragTargeted());
}

TEST_F(TakenOverDropTest, RegionStaysTargetedWhileTheDropIsRead) {
    auto drop = std::make_shared<testing_support::FakePendingDrop>(
        testing_support::FakePendingDrop::Formats{{"text/uri-list", "file:///a.txt\r\n"}},
        QSet<QString>{"text/uri-list"});
    const auto offer = mime("text/uri-list", "file:///a.txt\r\n");
    QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, offer.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(&region, &event);
    ASSERT_TRUE(dragSelection.dropTakenOver(drop));
    QCoreApplication::processEvents();

    EXPECT_TRUE(region.isDragTargeted()) << "the shelf keeps the region up for the drop";
    EXPECT_TRUE(drop->finishes().isEmpty());
}

TEST_F(TakenOverDropTest, LeavingGivesTheDropBackToTheToolkit) {
    const auto offer = mime("text/uri-list", "file:///a.txt\r\n");
    QDragEnterEvent event(QPoint(10, 10), Qt::CopyAction, offer.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QCoreApplication::sendEvent(&region, &event);
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(&region, &leave);

    EXPECT_FALSE(dragSelection.dropTakenOver(std::make_shared<testing_support::FakePendingDrop>(
        testing_support::FakePendingDrop::Formats{})));
}

// ---- Look.

TEST_F(DropRegionViewTest, StretchesToTheSpaceOffered) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(&view);
    window.resize(160, 310);
    window.show();
    EXPECT_EQ(view.size(), QSize(160, 310));
    layout->removeWidget(&view);
    view.setParent(nullptr);
}

TEST_F(DropRegionViewTest, SymbolSpringsToBlueWhileTargeted) {
    view.resize(100, 100);
    const auto centre = [&] {
        QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        int blue = 0, gray = 0;
        for (int y = 26; y < 74; ++y) {
            for (int x = 26; x < 74; ++x) {
                const QColor c = image.pixelColor(x, y);
                if (c.alpha() < 64)
                    continue;
                if (c.blue() > c.red() + 80)
                    ++blue;
                else if (std::abs(c.red() - c.blue()) < 20)
                    ++gray;
            }
        }
        return std::pair{blue, gray};
    };
    const auto [idleBlue, idleGray] = centre();
    EXPECT_EQ(idleBlue, 0);
    EXPECT_GT(idleGray, 20) << "the symbol is drawn";

    enter(*mime("text/plain", "x"));
    ASSERT_TRUE(testing_support::waitUntil([&] { return view.targetedProgress() == 1.0; }));
    const auto [targetedBlue, targetedGray] = centre();
    EXPECT_GT(targetedBlue, 20);
    EXPECT_EQ(targetedGray, 0);
}

} // namespace

int main(int argc, char** argv) {
    // Test discovery runs this without the test environment; it needs no display either.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
