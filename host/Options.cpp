// SPDX-License-Identifier: MIT
#include "Options.h"

#include "Bundle.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

const char usage[] = QT_TRANSLATE_NOOP("Host",
    "Usage: trellin-preview [OPTION]... PATH\n"
    "Preview PATH, a folder or an archive.\n"
    "\n"
    "  (no mode)              show the preview in a window; Space or Escape closes\n"
    "                         it. A window that is open already shows PATH instead\n"
    "  --new-window           open a window of its own even when one is open\n"
    "  --dump                 print the finished preview as JSON\n"
    "  --text                 print the finished preview as a table\n"
    "  --screenshot FILE.png  render the finished preview into a PNG file\n"
    "  --size WxH             the size of the rendering (default 900x560)\n"
    "  --columns LIST         show these columns (comma-separated identifiers, such\n"
    "                         as \"Name,Size,Tags\"), hide the others, for this run\n"
    "  --sort KEY[:asc|:desc] once the preview is ready, sort as a click on that\n"
    "                         column's header would (name, dateModified,\n"
    "                         dateCreated, dateLastOpened, size, kind)\n"
    "  --filter TEXT          show only the items whose name contains TEXT (case\n"
    "                         and accents aside), and the folders that hold them\n"
    "  --password-file FILE   open an encrypted archive with the password on the\n"
    "                         first line of FILE (the window asks for it instead)\n"
    "  --timing               print on standard error the time from start to the\n"
    "                         window on screen, to the first count of items shown,\n"
    "                         to the first rows shown, and to the content shown\n"
    "  --plugin FILE          load the plug-in from FILE\n"
    "  -h, --help             print this text\n");

// Thrown inside the parse, caught at its end: the first problem ends it.
struct Refusal {
    UsageExit exit;
};

[[noreturn]] void refuse(const char *text, const QString &argument = {})
{
    const QString message = hostText(text);
    throw Refusal{{2, argument.isNull() ? message : message.arg(argument)}};
}

QSize parseSize(const QByteArray &value)
{
    const QList<QByteArray> parts = value.split('x');
    bool okWidth = false, okHeight = false;
    QSize size;
    if (parts.size() == 2)
        size = QSize(parts[0].toInt(&okWidth), parts[1].toInt(&okHeight));
    if (!okWidth || !okHeight || size.width() <= 0 || size.height() <= 0)
        refuse(QT_TRANSLATE_NOOP("Host", "--size takes WIDTHxHEIGHT, for example 900x560"));
    return size;
}

QStringList parseColumns(const QByteArray &value)
{
    QStringList columns = QString::fromUtf8(value).split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (QString &column : columns)
        column = column.trimmed();
    return columns;
}

void parseSort(const QByteArray &value, Options &options)
{
    const QStringList parts = QString::fromUtf8(value).split(QLatin1Char(':'));
    options.sortKey = parts.first();
    if (parts.size() == 2 && parts[1] == QLatin1String("asc"))
        options.sortAscending = true;
    else if (parts.size() == 2 && parts[1] == QLatin1String("desc"))
        options.sortAscending = false;
    else if (parts.size() != 1 || options.sortKey.isEmpty())
        refuse(QT_TRANSLATE_NOOP("Host", "--sort takes KEY, KEY:asc or KEY:desc"));
}

// Walks the arguments once; each option that takes a value takes the next one.
class Parser
{
public:
    explicit Parser(const QList<QByteArray> &arguments)
        : m_arguments(arguments)
    {
    }

    Options parse()
    {
        for (m_at = 0; m_at < m_arguments.size(); ++m_at)
            take(m_arguments[m_at]);
        if (m_options.path.isEmpty())
            refuse(QT_TRANSLATE_NOOP("Host", "give the path of a folder or zip archive to preview"));
        return m_options;
    }

private:
    QByteArray value()
    {
        if (m_at + 1 >= m_arguments.size())
            refuse(QT_TRANSLATE_NOOP("Host", "%1 needs a value"), QString::fromLocal8Bit(m_arguments[m_at]));
        return m_arguments[++m_at];
    }

    void setMode(Mode mode)
    {
        if (m_haveMode)
            refuse(QT_TRANSLATE_NOOP("Host", "choose one of --dump, --text and --screenshot"));
        m_options.mode = mode;
        m_haveMode = true;
    }

    void take(const QByteArray &arg)
    {
        if (arg == "--help" || arg == "-h")
            throw Refusal{{0, {}}};
        if (arg == "--dump") {
            setMode(Mode::Dump);
        } else if (arg == "--text") {
            setMode(Mode::Text);
        } else if (arg == "--screenshot") {
            setMode(Mode::Screenshot);
            m_options.screenshotFile = QFile::decodeName(value());
        } else if (arg == "--size") {
            m_options.size = parseSize(value());
        } else if (arg == "--columns") {
            m_options.columns = parseColumns(value());
        } else if (arg == "--sort") {
            parseSort(value(), m_options);
        } else if (arg == "--filter") {
            m_options.filter = QString::fromLocal8Bit(value());
        } else if (arg == "--password-file") {
            m_options.passwordFile = QFile::decodeName(value());
        } else if (arg == "--timing") {
            m_options.timing = true;
        } else if (arg == "--new-window") {
            m_options.newWindow = true;
        } else if (arg == "--plugin") {
            m_options.plugin = QFile::decodeName(value());
        } else if (arg.startsWith("--") && arg.size() > 2) {
            refuse(QT_TRANSLATE_NOOP("Host", "unknown option %1"), QString::fromLocal8Bit(arg));
        } else if (m_options.path.isEmpty() && !arg.isEmpty()) {
            m_options.path = arg;
        } else {
            refuse(QT_TRANSLATE_NOOP("Host", "give exactly one path"));
        }
    }

    const QList<QByteArray> &m_arguments;
    qsizetype m_at = 0;
    Options m_options;
    bool m_haveMode = false;
};

} // namespace

QString hostText(const char *text)
{
    static const std::unique_ptr<QTranslator> table = programTranslations(QStringLiteral("trellin"));
    const QString translated = table ? table->translate("Host", text) : QString();
    return translated.isEmpty() ? QString::fromUtf8(text) : translated;
}

std::variant<Options, UsageExit> parseOptions(const QList<QByteArray> &arguments)
{
    try {
        return Parser(arguments).parse();
    } catch (const Refusal &refusal) {
        return refusal.exit;
    }
}

void usageError(const QString &message)
{
    std::fprintf(stderr, "trellin-preview: %s\n", qPrintable(message));
    std::fputs(qPrintable(hostText(usage)), stderr);
    std::exit(2);
}

Options commandLineOptions(int argc, char **argv)
{
    QList<QByteArray> arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(QByteArray(argv[i]));
    std::variant<Options, UsageExit> parsed = parseOptions(arguments);
    if (Options *options = std::get_if<Options>(&parsed))
        return std::move(*options);
    const UsageExit &exit = std::get<UsageExit>(parsed);
    if (exit.status != 0)
        usageError(exit.message);
    std::fputs(qPrintable(hostText(usage)), stdout);
    std::exit(0);
}
