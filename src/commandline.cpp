#include "commandline.h"
#include "comparecommand.h"
#include "imageinfocommand.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>
#include <cstdlib>

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
}

QStringList argumentList(int argc, char *argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
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

// Reading images needs no application object and no display.
void answerImageInformation(const QCommandLineParser &parser)
{
    if (!parser.isSet(QStringLiteral("info")))
        return;
    if (!parser.unknownOptionNames().isEmpty()) {
        const QByteArray name = parser.unknownOptionNames().constFirst().toLocal8Bit();
        std::fprintf(stderr, "ferncastle: unknown option '%s' with --info.\n", name.constData());
        std::exit(2);
    }
    std::exit(printImageInformation(parser.positionalArguments()));
}

void answerImageComparison(const QCommandLineParser &parser)
{
    if (!parser.isSet(QStringLiteral("compare")))
        return;
    if (!parser.unknownOptionNames().isEmpty()) {
        const QByteArray name = parser.unknownOptionNames().constFirst().toLocal8Bit();
        std::fprintf(stderr, "ferncastle: unknown option '%s' with --compare.\n", name.constData());
        std::exit(2);
    }
    std::exit(printImageComparison(parser.positionalArguments()));
}

} // namespace

void answerInformationOptions(int argc, char *argv[])
{
    QCommandLineParser parser;
    describeOptions(parser);
    // Qt's own options are unknown here; they are judged after QApplication.
    parser.parse(argumentList(argc, argv));
    const QString request = informationRequest(parser);
    if (request.isEmpty()) {
        answerImageInformation(parser);
        answerImageComparison(parser);
        return;
    }
    // The help text names the program as it was called, which it takes from
    // the running application; a core one needs no display.
    QCoreApplication app(argc, argv);
    parser.process(QStringList{QCoreApplication::arguments().constFirst(), request});
}

void rejectUnknownOptions(const QCoreApplication &app)
{
    QCommandLineParser parser;
    describeOptions(parser);
    parser.process(app);
}

} // namespace ferncastle
