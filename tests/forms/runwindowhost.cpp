// A program that shows one run window and nothing else, so a test can kill
// it (SIGKILL) in the middle of a run and look at what it left behind.
// Arguments: the image file, the tool, the program, its arguments. It prints
// "transcript <file>" once, then "shown <n>" whenever the window shows n
// finished lines.
#include "forms/common/dialogprompts.h"
#include "forms/run/outputview.h"
#include "forms/run/runwindow.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

using namespace ferncastle;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    ToolCommand command;
    command.chosenFile = args.at(1);
    command.tool = args.at(2);
    command.program = args.at(3);
    command.arguments = args.mid(4);
    command.commandLine = args.mid(2).join(u' ');
    DialogPrompts prompts;
    auto *window = new RunWindow(command, prompts);
    window->show();
    window->start();
    std::printf("transcript %s\n", qPrintable(window->transcript().fileName()));
    std::fflush(stdout);
    const auto *view = window->findChild<OutputView *>(QStringLiteral("outputView"));
    QTimer watch;
    int reported = -1;
    QObject::connect(&watch, &QTimer::timeout, &watch, [&] {
        // The last block holds the line still open.
        const int finished = view->document()->blockCount() - 1;
        if (finished != reported) {
            reported = finished;
            std::printf("shown %d\n", finished);
            std::fflush(stdout);
        }
    });
    watch.start(10);
    return app.exec();
}
