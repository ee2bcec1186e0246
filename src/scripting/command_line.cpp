#include "scripting/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QStringDecoder>

#include <array>

namespace scripting {

namespace {

// Stands in, in what the parser sees, for an argument that is not UTF-8; followed by its index.
// A lone surrogate never comes out of decoding UTF-8, so no real argument looks like it.
constexpr char16_t kRawArgument = 0xDC00;

struct CommandSpec {
    const char* name;
    const char* arguments; // as the usage line shows them
    qsizetype maximumArguments;
    const char* description; // untranslated
};

constexpr qsizetype kAny = -1;

constexpr std::array kCommands{
    CommandSpec{"add", "[PATH|URL|-]...", kAny,
                QT_TRANSLATE_NOOP("CommandLine",
                                  "Parks files and links as one entry; --text or - parks text.")},
    CommandSpec{"list", "", 0,
                QT_TRANSLATE_NOOP("CommandLine", "Prints the entries, newest first.")},
    CommandSpec{"paths", "[N]", 1,
                QT_TRANSLATE_NOOP("CommandLine",
                                  "Prints the file paths of entry N (default 1), one per line.")},
    CommandSpec{"show", "", 0, QT_TRANSLATE_NOOP("CommandLine", "Shows the shelf.")},
    CommandSpec{"hide", "", 0, QT_TRANSLATE_NOOP("CommandLine", "Hides the shelf.")},
    CommandSpec{"clear", "", 0,
                QT_TRANSLATE_NOOP("CommandLine", "Empties the shelf (undoable from the shelf).")},
    CommandSpec{"remove", "N", 1,
                QT_TRANSLATE_NOOP("CommandLine", "Removes entry N (undoable from the shelf).")},
};

QString described(const CommandSpec& spec) {
    return QCoreApplication::translate("CommandLine", spec.description);
}

const CommandSpec* commandNamed(const QString& name) {
    for (const CommandSpec& spec : kCommands) {
        if (name == QLatin1String(spec.name))
            return &spec;
    }
    return nullptr;
}

QString decoded(const QByteArray& argument, qsizetype index) {
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(argument);
    // An option is kept readable, so that an unknown one is named.
    if (!decoder.hasError() || argument.startsWith('-'))
        return text;
    return QChar(kRawArgument) + QString::number(index);
}

QByteArray raw(const QString& argument, const QList<QByteArray>& argv) {
    if (argument.startsWith(QChar(kRawArgument)))
        return argv.value(argument.mid(1).toLongLong());
    return argument.toUtf8();
}

// The first argument that is no option: the command, if any.
QString commandOf(const QStringList& arguments) {
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--"))
            return arguments.value(i + 1);
        if (!arguments.at(i).startsWith(QLatin1Char('-')))
            return arguments.at(i);
    }
    return {};
}

QString commandList() {
    QString text =
        QLatin1Char('\n') +
        QCoreApplication::translate("CommandLine", "Commands (each talks to the running Holdfin, "
                                                   "starting it first if none runs;\n`holdfin "
                                                   "COMMAND --help` tells more):") +
        QLatin1Char('\n');
    for (const CommandSpec& spec : kCommands) {
        const QString synopsis =
            QLatin1String(spec.name) + QLatin1Char(' ') + QLatin1String(spec.arguments);
        text += QStringLiteral("  %1  %2\n").arg(synopsis, -22).arg(described(spec));
    }
    return text;
}

Invocation printing(Invocation::Action action, const QString& text) {
    Invocation invocation;
    invocation.action = action;
    invocation.text = text;
    return invocation;
}

Invocation usageError(const QString& error, const QString& help) {
    return printing(Invocation::Action::UsageError,
                    QStringLiteral("holdfin: ") + error + QLatin1Char('\n') + help);
}

// A 1-based entry position; nothing unless the whole text is a number from 1 on.
std::optional<int> positionOf(const QString& text) {
    bool isNumber = false;
    const int position = text.toInt(&isNumber);
    return isNumber && position >= 1 ? std::optional<int>(position) : std::nullopt;
}

} // namespace

Invocation parseCommandLine(const QList<QByteArray>& argv) {
    QStringList arguments;
    for (qsizetype i = 0; i < argv.size(); ++i)
        arguments << decoded(argv.at(i), i);

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine",
        "A floating drop shelf: drag anything, park it on the shelf, drag it out later."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QCoreApplication::translate("CommandLine", "Prints this help."));
    const QCommandLineOption version(
        {QStringLiteral("v"), QStringLiteral("version")},
        QCoreApplication::translate("CommandLine", "Prints the version."));
    parser.addOption(help);
    parser.addOption(version);

    const QString name = commandOf(arguments);
    const CommandSpec* command = commandNamed(name);
    const QCommandLineOption preferences(
        QStringLiteral("preferences"),
        QCoreApplication::translate("CommandLine", "Opens the preferences."));
    const QCommandLineOption split(
        QStringLiteral("split"),
        QCoreApplication::translate("CommandLine", "Parks one entry per argument."));
    const QCommandLineOption text(QStringLiteral("text"),
                                  QCoreApplication::translate("CommandLine", "Parks TEXT."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QCoreApplication::translate("CommandLine", "Prints the entries as JSON."));
    const QCommandLineOption nul(
        {QStringLiteral("0"), QStringLiteral("null")},
        QCoreApplication::translate("CommandLine", "Ends each path with a NUL byte instead."));
    if (!command) {
        parser.addOption(preferences);
        parser.addPositionalArgument(
            QStringLiteral("command"),
            QCoreApplication::translate("CommandLine",
                                        "One of the commands below; none runs the shelf."),
            QStringLiteral("[command]"));
    } else {
        parser.addPositionalArgument(name, described(*command),
                                     name + QLatin1Char(' ') + QLatin1String(command->arguments));
        if (name == QLatin1String("add"))
            parser.addOptions({split, text});
        else if (name == QLatin1String("list"))
            parser.addOption(json);
        else if (name == QLatin1String("paths"))
            parser.addOption(nul);
    }
    QString helpText = parser.helpText() + (command ? QString() : commandList());
    // The usage names the program as users type it, not by its path (nor as Qt does without
    // an application). The word before it may be translated.
    const QString program = QCoreApplication::instance() ? QCoreApplication::arguments().value(0)
                                                         : QStringLiteral("<executable_name>");
    const QString spaced = QLatin1Char(' ') + program + QLatin1Char(' ');
    if (const qsizetype at = helpText.indexOf(spaced); at >= 0)
        helpText.replace(at, spaced.size(), QStringLiteral(" holdfin "));

    const bool isParsed = parser.parse(arguments);
    // Help and version win over everything else, as they would in any program.
    if (parser.isSet(help))
        return printing(Invocation::Action::Help, helpText);
    if (parser.isSet(version))
        return printing(Invocation::Action::Version,
                        QStringLiteral("holdfin " HOLDFIN_VERSION "\n"));
    if (!isParsed)
        return usageError(parser.errorText(), helpText);
    if (!command && !name.isEmpty())
        return usageError(
            QCoreApplication::translate("CommandLine", "Unknown command '%1'.").arg(name),
            helpText);
    if (!command) {
        Invocation launch;
        launch.showPreferences = parser.isSet(preferences);
        return launch;
    }

    Invocation invocation;
    invocation.action = Invocation::Action::Command;
    invocation.command = name;
    const QStringList positional = parser.positionalArguments().mid(1);
    for (const QString& argument : positional)
        invocation.arguments << raw(argument, argv);
    const QStringList options = parser.optionNames();
    invocation.isSplit = options.contains(split.names().constFirst());
    invocation.isJson = options.contains(json.names().constFirst());
    invocation.isNulSeparated =
        options.contains(nul.names().constFirst()) || options.contains(nul.names().constLast());
    // Text, unlike a file name, has to be UTF-8: a stray byte becomes a replacement character.
    if (options.contains(text.names().constFirst()))
        invocation.addedText = QString::fromUtf8(raw(parser.value(text), argv));

    const qsizetype maximum = command->maximumArguments;
    if (maximum != kAny && positional.size() > maximum)
        return usageError(QCoreApplication::translate("CommandLine", "Unexpected argument '%1'.")
                              .arg(positional.at(maximum)),
                          helpText);
    if (name == QLatin1String("add") && positional.isEmpty() == !invocation.addedText)
        return usageError(
            QCoreApplication::translate("CommandLine", "add needs paths, links, - or --text TEXT."),
            helpText);
    if (name == QLatin1String("remove") || name == QLatin1String("paths")) {
        if (name == QLatin1String("remove") && positional.isEmpty())
            return usageError(QCoreApplication::translate("CommandLine",
                                                          "remove needs the position of an entry."),
                              helpText);
        if (!positional.isEmpty()) {
            const std::optional<int> position = positionOf(positional.constFirst());
            if (!position)
                return usageError(
                    QCoreApplication::translate("CommandLine", "'%1' is no entry position.")
                        .arg(positional.constFirst()),
                    helpText);
            invocation.position = *position;
        }
    }
    return invocation;
}

} // namespace scripting
