#include "commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

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

} // namespace

void answerInformationOptions(int argc, char *argv[])
{
    QCommandLineParser parser;
    describeOptions(parser);
    // Qt's own options are unknown here; they are judged after QApplication.
    parser.parse(argumentList(argc, argv));
    const QString request = informationRequest(parser);
    if (request.isEmpty())
        return;
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
