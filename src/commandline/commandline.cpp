#include "commandline/commandline.h"
#include "commandline/comparecommand.h"
#include "commandline/filescommand.h"
#include "commandline/imageinfocommand.h"

#include "core/displaytext.h"
#include "core/nativename.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace ferncastle {

namespace {

void describeOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QStringLiteral(FERNCASTLE_DESCRIPTION));
    // Qt's own options are single-dash words (-reverse, -stylesheet); read
    // as bundles of letters they would pass for -v or -h.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(QCommandLineOption(
        QStringLiteral("info"),
        QStringLiteral("Print what is on each disk image (DMK, JV3 or JV1) named after the "
                       "options, track by track, and exit: 0 when every image was read "
                       "cleanly, 1 when any has CRC errors or findings, 2 when any could not "
                       "be read as an image.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("compare"),
        QStringLiteral("Compare the two disk images (DMK, JV3 or JV1, in any mix) named after "
                       "the options sector by sector, print each sector that differs, and "
                       "exit: 0 when they hold the same sectors, 1 when they differ, 2 when "
                       "either is no image.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("files"),
        QStringLiteral("Print the TRS-80 DOS directory of each disk image named after the "
                       "options: the disk line, then one line per file with its size, date, "
                       "attributes and health. Exit 0 when every file is intact, 1 when any "
                       "is damaged, 2 when an image has no directory or is no image.")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("extract"),
        QStringLiteral("Copy the intact files of the disk images named after the options into "
                       "<folder>, named NAME.EXT; a file already there is left as it is. Exit "
                       "status as --files, 1 also when a file was left out."),
        QStringLiteral("folder")));
    parser.addOption(QCommandLineOption(
        QStringLiteral("damaged-too"),
        QStringLiteral("With --extract, also copy the damaged files, bad sectors as the "
                       "image holds them.")));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QStringLiteral("With --info: a disk image to report on (DMK, JV3 or JV1); give one or "
                       "more, as with --files and --extract. With --compare: the two images "
                       "to compare."),
        QStringLiteral("[FILE...]"));
}

// Names as the file system holds them: every name a shell passes can be
// opened, whatever its bytes.
QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(decodedNativeName(argv[i]));
    return arguments;
}

// The information option asked for, in the order Qt's parser answers them,
// or an empty string.
QString informationRequest(const QCommandLineParser &parser)
{
    for (const char *name : {"version", "help", "help-all"}) {
        if (parser.isSet(QLatin1String(name)))
            return QLatin1String("--") + QLatin1String(name);
    }
    return {};
}

// The mode that reads images, or an empty string.
QString imageMode(const QCommandLineParser &parser)
{
    for (const char *name : {"info", "compare", "files", "extract"}) {
        if (parser.isSet(QLatin1String(name)))
            return QLatin1String(name);
    }
    return parser.isSet(QStringLiteral("damaged-too")) ? QStringLiteral("extract") : QString();
}

int refuse(const QString &text)
{
    std::fprintf(stderr, "ferncastle: %s\n", text.toLocal8Bit().constData());
    return 2;
}

// Reading images needs a core application at most, never a display.
int answerImageMode(const QCommandLineParser &parser, const QString &mode)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        return refuse(QStringLiteral("unknown option '%1' with --%2.")
                          .arg(escapedForTerminal(parser.unknownOptionNames().constFirst()), mode));
    }
    const int modes = int(parser.isSet(QStringLiteral("info")))
                      + int(parser.isSet(QStringLiteral("compare")))
                      + int(parser.isSet(QStringLiteral("files")))
                      + int(parser.isSet(QStringLiteral("extract")));
    if (modes > 1)
        return refuse(QStringLiteral("--info, --compare, --files and --extract go one at a "
                                     "time."));
    if (mode == QLatin1String("info"))
        return printImageInformation(parser.positionalArguments());
    if (mode == QLatin1String("compare"))
        return printImageComparison(parser.positionalArguments());
    if (mode == QLatin1String("files"))
        return printDiskFiles(parser.positionalArguments());
    if (!parser.isSet(QStringLiteral("extract")))
        return refuse(QStringLiteral("--damaged-too goes with --extract FOLDER."));
    return extractDiskFiles(parser.value(QStringLiteral("extract")),
                            parser.positionalArguments(),
                            parser.isSet(QStringLiteral("damaged-too")));
}

} // namespace

std::optional<int> answerCommandLineModes(int argc, char *argv[])
{
    QCommandLineParser parser;
    describeOptions(parser);
    // Qt's own options are unknown here; they are judged after QApplication.
    parser.parse(argumentList(argc, argv));
    const QString request = informationRequest(parser);
    if (request.isEmpty()) {
        const QString mode = imageMode(parser);
        if (mode.isEmpty())
            return std::nullopt;
        QCoreApplication app(argc, argv);
        return answerImageMode(parser, mode);
    }
    // The help text names the program as the running application's first
    // argument; it is given the name users type, whatever path started it.
    // A core application needs no display.
    char name[] = "ferncastle";
    char *nameOnly[] = {name, nullptr};
    int nameCount = 1;
    QCoreApplication app(nameCount, nameOnly);
    parser.process(QStringList{QCoreApplication::arguments().constFirst(), request});
    return 0; // process() has ended the program with the answer
}

void rejectUnknownOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);
}

} // namespace ferncastle
