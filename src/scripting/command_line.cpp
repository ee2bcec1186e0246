#include "scripting/command_line.h"

#include <QCommandLineParser>
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
    const char* description;
};

constexpr qsizetype kAny = -1;

constexpr std::array kCommands{
    CommandSpec{"add", "[PATH|URL|-]...", kAny,
                "Parks files and links as one entry; --text or - parks text."},
    CommandSpec{"list", "", 0, "Prints the entries, newest first."},
    CommandSpec{"paths", "[N]", 1, "Prints the file paths of entry N (default 1), one per line."},
    CommandSpec{"show", "", 0, "Shows the shelf."},
    CommandSpec{"hide", "", 0, "Hides the shelf."},
    CommandSpec{"clear", "", 0, "Empties the shelf (undoable from the shelf)."},
    CommandSpec{"remove", "N", 1, "Removes entry N (undoable from the shelf)."},
};

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
    QString text = QStringLiteral("\nCommands (each talks to the running Holdfin, starting it "
                                  "first if none runs;\n`holdfin COMMAND --help` tells more):\n");
    for (const CommandSpec& spec : kCommands) {
        const QString synopsis =
            QLatin1String(spec.name) + QLatin1Char(' ') + QLatin1String(spec.arguments);
        text +=
            QStringLiteral("  %1  %2\n").arg(synopsis, -22).arg(QLatin1String(spec.description));
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
    parser.setApplicationDescription(
        QStringLiteral("A floating drop shelf: drag anything, park it on the shelf, drag it out "
                       "later."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Prints this help."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Prints the version."));
    parser.addOption(help);
    parser.addOption(version);

    const QString name = commandOf(arguments);
    const CommandSpec* command = commandNamed(name);
    const QCommandLineOption preferences(QStringLiteral("preferences"),
                                         QStringLiteral("Opens the preferences."));
    const QCommandLineOption split(QStringLiteral("split"),
                                   QStringLiteral("Parks one entry per argument."));
    const QCommandLineOption text(QStringLiteral("text"), QStringLiteral("Parks TEXT."),
                                  QStringLiteral("TEXT"));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Prints the entries as JSON."));
    const QCommandLineOption nul({QStringLiteral("0"), QStringLiteral("null")},
                                 QStringLiteral("Ends each path with a NUL byte instead."));
    if (!command) {
        parser.addOption(preferences);
        parser.addPositionalArgument(QStringLiteral("command"),
                                     QStringLiteral("One of the commands below; none runs the "
                                                    "shelf."),
                                     QStringLiteral("[command]"));
    } else {
        parser.addPositionalArgument(name, QLatin1String(command->description),
                                     name + QLatin1Char(' ') + QLatin1String(command->arguments));
        if (name == QLatin1String("add"))
            parser.addOptions({split, text});
        else if (name == QLatin1String("list"))
            parser.addOption(json);
        else if (name == QLatin1String("paths"))
            parser.addOption(nul);
    }
    QString helpText = parser.helpText() + (command ? QString() : commandList());
    // The usage names the program as users type it, not by its path.
    const qsizetype programAt = QStringLiteral("Usage: ").size();
    helpText.replace(programAt, helpText.indexOf(QLatin1Char(' '), programAt) - programAt,
                     QLatin1String("holdfin"));

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
        return usageError(QStringLiteral("Unknown command '%1'.").arg(name), helpText);
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
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(positional.at(maximum)),
                          helpText);
    if (name == QLatin1String("add") && positional.isEmpty() == !invocation.addedText)
        return usageError(QStringLiteral("add needs paths, links, - or --text TEXT."), helpText);
    if (name == QLatin1String("remove") || name == QLatin1String("paths")) {
        if (name == QLatin1String("remove") && positional.isEmpty())
            return usageError(QStringLiteral("remove needs the position of an entry."), helpText);
        if (!positional.isEmpty()) {
            const std::optional<int> position = positionOf(positional.constFirst());
            if (!position)
                return usageError(
                    QStringLiteral("'%1' is no entry position.").arg(positional.constFirst()),
                    helpText);
            invocation.position = *position;
        }
    }
    return invocation;
}

} // namespace scripting
