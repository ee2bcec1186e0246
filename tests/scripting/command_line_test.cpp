// What each command line asks for, read before any window or bus exists.
#include "scripting/command_line.h"

#include <gtest/gtest.h>

using scripting::Invocation;
using Action = Invocation::Action;

namespace {

Invocation parsed(const QList<QByteArray>& arguments) {
    QList<QByteArray> argv{"holdfin"};
    return scripting::parseCommandLine(argv + arguments);
}

TEST(CommandLine, readsCommandsTheirOptionsAndArgumentsAsTheirBytes) {
    const Invocation add = parsed({"add", "--split", "caf\xe9.txt", "-", "--", "--odd name"});
    EXPECT_EQ(add.action, Action::Command);
    EXPECT_EQ(add.command, QStringLiteral("add"));
    EXPECT_TRUE(add.isSplit);
    EXPECT_EQ(add.arguments, (QList<QByteArray>{"caf\xe9.txt", "-", "--odd name"}));

    const Invocation text = parsed({"add", "--text", "a\xff"});
    EXPECT_EQ(text.addedText, QStringLiteral("a\uFFFD"));

    const Invocation paths = parsed({"paths", "-0", "3"});
    EXPECT_TRUE(paths.isNulSeparated);
    EXPECT_EQ(paths.position, 3);
    EXPECT_TRUE(parsed({"list", "--json"}).isJson);
    EXPECT_EQ(parsed({"--", "show"}).command, QStringLiteral("show"));
}

TEST(CommandLine, aLaunchIsNoCommand) {
    EXPECT_EQ(parsed({}).action, Action::Launch);
    EXPECT_FALSE(parsed({}).showPreferences);
    EXPECT_TRUE(parsed({"--preferences"}).showPreferences);
}

TEST(CommandLine, refusesWhatIsNoRequest) {
    const QList<QList<QByteArray>> cases = {
        {"add"},
        {"add", "x", "--text", "y"},
        {"remove"},
        {"remove", "1", "2"},
        {"paths", "0"},
        {"paths", "-1"},
        {"show", "x"},
        {"list", "-0"},
        {"--preferences", "list"},
    };
    for (const QList<QByteArray>& arguments : cases) {
        const Invocation invocation = parsed(arguments);
        EXPECT_EQ(invocation.action, Action::UsageError) << arguments.join(' ').constData();
        EXPECT_TRUE(invocation.text.startsWith(QStringLiteral("holdfin: ")));
        EXPECT_TRUE(invocation.text.contains(QStringLiteral("\nUsage: holdfin")));
    }
}

} // namespace
