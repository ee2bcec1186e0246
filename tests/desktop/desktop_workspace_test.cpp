#include "desktop/desktop_workspace.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

QImage rendered(const QIcon& icon) {
    return icon.pixmap(QSize(32, 32)).toImage();
}

TEST(DesktopWorkspaceTest, AnyPathGetsAnIconByItsName) {
    desktop::DesktopWorkspace workspace;
    for (const char* path : {"/no/such/folder/Report.pdf", "/no/such/Projects/", "/no/such/file",
                             "relative name", "", "/tmp/\xC3\xA9t\xC3\xA9.mp3"}) {
        const QIcon icon = workspace.iconForFile(QString::fromUtf8(path));
        EXPECT_FALSE(icon.isNull()) << path;
        EXPECT_FALSE(icon.pixmap(QSize(32, 32)).isNull()) << path;
    }
}

TEST(DesktopWorkspaceTest, FoldersAndDocumentsLookDifferent) {
    desktop::DesktopWorkspace workspace;
    EXPECT_NE(rendered(workspace.iconForFile(QStringLiteral("/no/such/Projects/"))),
              rendered(workspace.iconForFile(QStringLiteral("/no/such/Report.pdf"))));
}

TEST(DesktopWorkspaceTest, RepeatedRequestsReuseOneRendering) {
    desktop::DesktopWorkspace workspace;
    for (const char* path : {"/no/such/Projects/", "/no/such/Report.pdf", "/no/such/file"}) {
        const QString name = QString::fromUtf8(path);
        const qint64 first = workspace.iconForFile(name).pixmap(QSize(32, 32)).cacheKey();
        EXPECT_EQ(workspace.iconForFile(name).pixmap(QSize(32, 32)).cacheKey(), first) << path;
    }
}

} // namespace
