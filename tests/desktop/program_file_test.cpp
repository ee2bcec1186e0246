#include "desktop/program_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

struct FileCase {
    const char* name;
    QByteArray content;
    bool isExecutable;
    bool isProgram;
};

class ProgramFileTest : public testing::TestWithParam<FileCase> {};

// Writes the case's file into `folder`; its path.
QString write(const QTemporaryDir& folder, const FileCase& c) {
    const QString path = folder.filePath(QString::fromUtf8(c.name));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(c.content);
    file.close();
    QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
    if (c.isExecutable)
        permissions |= QFile::ExeOwner;
    file.setPermissions(permissions);
    return path;
}

TEST_P(ProgramFileTest, ProgramsAndLaunchersAreToldByPermissionNameOrContent) {
    QTemporaryDir folder;
    EXPECT_EQ(desktop::isProgramFile(write(folder, GetParam())), GetParam().isProgram);
}

const QByteArray kElf("\x7f"
                      "ELF\x02\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x03\x00\x3e\x00",
                      20);
const QByteArray kPng("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR", 16);

INSTANTIATE_TEST_SUITE_P(
    Files, ProgramFileTest,
    testing::Values(FileCase{"notes.txt", "some notes\n", false, false},
                    FileCase{"photo.png", kPng, false, false},
                    FileCase{"run.sh", "#!/bin/sh\necho hi\n", true, true},
                    FileCase{"document.pdf", "%PDF-1.4\n", true, true}, // any executable
                    FileCase{"tool.desktop", "[Desktop Entry]\nExec=xterm\n", false, true},
                    FileCase{"program", kElf, false, true},
                    FileCase{"installer.exe", "MZ\x90\x00", false, true},
                    FileCase{"script", "#!/bin/sh\nrm -rf ~\n", false, true}),
    [](const auto& info) {
        QString name = QString::fromUtf8(info.param.name);
        name.replace(QLatin1Char('.'), QLatin1Char('_'));
        return name.toStdString();
    });

TEST(ProgramFile, FoldersAndPathsThatAreNotThereAreNoPrograms) {
    QTemporaryDir folder;
    EXPECT_FALSE(desktop::isProgramFile(folder.path())) << "folders are executable, not programs";
    EXPECT_FALSE(desktop::isProgramFile(folder.filePath(QStringLiteral("gone.desktop"))));
    EXPECT_FALSE(desktop::isProgramFile(QString()));
}

} // namespace
