#include "desktop/freedesktop_services.h"

#include "support/private_session_bus.h"
#include "support/wait_until.h"

#include <QDBusConnection>
#include <QDesktopServices>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QImage rendered(const QIcon& icon) {
    return icon.pixmap(QSize(32, 32)).toImage();
}

TEST(FreedesktopServicesTest, AnyPathGetsAnIconByItsName) {
    desktop::FreedesktopServices desktopServices;
    for (const char* path : {"/no/such/folder/Report.pdf", "/no/such/Projects/", "/no/such/file",
                             "relative name", "", "/tmp/\xC3\xA9t\xC3\xA9.mp3"}) {
        const QIcon icon = desktopServices.fileIcon(QString::fromUtf8(path));
        EXPECT_FALSE(icon.isNull()) << path;
        EXPECT_FALSE(icon.pixmap(QSize(32, 32)).isNull()) << path;
    }
}

TEST(FreedesktopServicesTest, FoldersAndDocumentsLookDifferent) {
    desktop::FreedesktopServices desktopServices;
    EXPECT_NE(rendered(desktopServices.fileIcon(QStringLiteral("/no/such/Projects/"))),
              rendered(desktopServices.fileIcon(QStringLiteral("/no/such/Report.pdf"))));
}

TEST(FreedesktopServicesTest, RepeatedRequestsReuseOneRendering) {
    desktop::FreedesktopServices desktopServices;
    for (const char* path : {"/no/such/Projects/", "/no/such/Report.pdf", "/no/such/file"}) {
        const QString name = QString::fromUtf8(path);
        const qint64 first = desktopServices.fileIcon(name).pixmap(QSize(32, 32)).cacheKey();
        EXPECT_EQ(desktopServices.fileIcon(name).pixmap(QSize(32, 32)).cacheKey(), first) << path;
    }
}

// The file manager's D-Bus object, recording what it was asked to show.
class FakeFileManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> shown;
    QStringList startupIds;

public slots:
    Q_SCRIPTABLE void ShowItems(const QStringList& uris, const QString& startupId) {
        shown << uris;
        startupIds << startupId;
    }
};

// Takes the URLs QDesktopServices would hand to the desktop's opener.
class OpenedUrls final : public QObject {
    Q_OBJECT
public:
    OpenedUrls() { QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "open"); }
    ~OpenedUrls() override { QDesktopServices::unsetUrlHandler(QStringLiteral("file")); }
    QList<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls << url; }
};

class ShowItemsTest : public testing::Test {
protected:
    testing_support::PrivateSessionBus sessionBus;
    const QList<QUrl> files{QUrl(QStringLiteral("file:///home/demo/My%20Photo.png")),
                            QUrl(QStringLiteral("file:///home/demo/notes.txt"))};
    OpenedUrls opened;
};

TEST_F(ShowItemsTest, TheFileManagerIsAskedToShowTheFilesSelected) {
    if (!sessionBus.start())
        GTEST_SKIP() << "no dbus-daemon";
    FakeFileManager fileManager;
    QDBusConnection service = sessionBus.connect(QStringLiteral("fileManager"));
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.FileManager1")));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/FileManager1"),
                                       &fileManager, QDBusConnection::ExportScriptableSlots));

    desktop::FreedesktopServices desktopServices(sessionBus.connect(QStringLiteral("client")));
    EXPECT_TRUE(desktopServices.showInFileManager(files));
    ASSERT_TRUE(testing_support::waitUntil([&] { return !fileManager.shown.isEmpty(); }));
    EXPECT_EQ(fileManager.shown.front(),
              (QStringList{QStringLiteral("file:///home/demo/My%20Photo.png"),
                           QStringLiteral("file:///home/demo/notes.txt")}));
    EXPECT_EQ(fileManager.startupIds.front(), QString());
    EXPECT_FALSE(desktopServices.showInFileManager({})) << "nothing to show";
    QTest::qWait(50);
    EXPECT_TRUE(opened.urls.isEmpty()) << "no folder opened besides";
}

TEST_F(ShowItemsTest, WithoutAFileManagerTheFolderOfTheFirstFileOpens) {
    if (!sessionBus.start())
        GTEST_SKIP() << "no dbus-daemon";
    desktop::FreedesktopServices desktopServices(sessionBus.connect(QStringLiteral("client")));
    EXPECT_TRUE(desktopServices.showInFileManager(files));
    ASSERT_TRUE(testing_support::waitUntil([&] { return !opened.urls.isEmpty(); }));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl(QStringLiteral("file:///home/demo"))});
}

TEST_F(ShowItemsTest, WithoutASessionBusTheFolderOpensAtOnce) {
    desktop::FreedesktopServices desktopServices(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"), "none"));
    EXPECT_TRUE(desktopServices.showInFileManager(files));
    EXPECT_EQ(opened.urls, QList<QUrl>{QUrl(QStringLiteral("file:///home/demo"))});
    QDBusConnection::disconnectFromBus(QStringLiteral("none"));
}

} // namespace

#include "freedesktop_services_test.moc"
