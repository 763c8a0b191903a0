// Times the main window with a 10 MB value stored under one key (or under
// every key): start-up, a real file dialog opened on the stored folder, a
// launch attempt up to its message box, the box's closing, and Exit. Run by
// scripts/benchmark-longvalues.sh; prints one line per key.
#include "core/settings/settingskeys.h"
#include "forms/common/dialogprompts.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"
#include "platform/settings/settingsstore.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace ferncastle;

namespace {

constexpr qsizetype valueLength = 10 * 1024 * 1024;

// Real message boxes, timed from the question to the box on screen and
// from the close to its end; the file dialog is answered at once.
class TimedPrompts : public DialogPrompts
{
public:
    QElapsedTimer clock;
    qint64 shownAt = -1, closedAt = -1, closeAsked = -1;
    QString answer;

    void showMessage(QWidget *parent, QMessageBox::Icon icon, const QString &title,
                     const QString &text) override
    {
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            QWidget *box = QApplication::activeModalWidget();
            if (!box || !box->isVisible() || closeAsked >= 0)
                return;
            shownAt = clock.elapsed();
            closeAsked = clock.elapsed();
            box->close();
        });
        poll.start(0);
        DialogPrompts::showMessage(parent, icon, title, text);
        closedAt = clock.elapsed();
    }

    QString chooseFile(QWidget *, const FileRequest &) override { return answer; }
};

// Written as bytes, so that the window's own read parses the file afresh
// instead of finding it in QSettings' cache.
void writeStore(const QString &fileName, const QString &keyName)
{
    const QByteArray big = '/' + QByteArray(valueLength - 2, 'x') + '/';
    QByteArray bytes = "[Ferncastle]\nDOS%20Files%20Path=/nonexistent/tools/\n";
    for (const SettingKey &key : settingKeys()) {
        if (keyName == QLatin1String("all") || keyName == QLatin1String(key.name))
            bytes += QByteArray(key.name).replace(' ', "%20") + '=' + big + '\n';
    }
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write the store");
}

qint64 timeFileDialog(const QString &folder)
{
    QElapsedTimer clock;
    clock.start();
    FileRequest request;
    request.initialDir = folder;
    request.filter = QStringLiteral("All Files|*.*");
    QFileDialog *dialog = createFileDialog(nullptr, request);
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->show();
    QApplication::processEvents();
    dialog->reject();
    delete dialog;
    return clock.elapsed();
}

void run(const QString &keyName)
{
    QTemporaryDir dir;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir.path());
    writeStore(dir.filePath(QStringLiteral("Larkvale.ini")), keyName);
    TimedPrompts prompts;
    prompts.answer = dir.filePath(QStringLiteral("A.DMK"));
    TerminalLauncher launcher;
    const SettingsStore settings(dir.filePath(QStringLiteral("Larkvale.ini")));
    prompts.clock.start();
    Moorfield window({prompts, launcher, settings, [] {}});
    window.Form_Load();
    window.show();
    QApplication::processEvents();
    const qint64 startup = prompts.clock.elapsed();
    const qint64 dialog = timeFileDialog(window.CommonDialog1.InitDir);
    prompts.clock.restart();
    window.findChild<QPushButton *>(QStringLiteral("cmdRead"))->click();
    const qint64 launch = prompts.shownAt;
    const qint64 closing = prompts.closedAt - prompts.closeAsked;
    QElapsedTimer exitClock;
    exitClock.start();
    window.ExitProgram();
    const qint64 exit = exitClock.elapsed();
    std::printf("%-20s start-up %5lld  file dialog %5lld  launch to message %5lld  "
                "message close %5lld  exit %5lld (ms)\n",
                qPrintable(keyName), static_cast<long long>(startup), static_cast<long long>(dialog),
                static_cast<long long>(launch), static_cast<long long>(closing),
                static_cast<long long>(exit));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList keysToTry = app.arguments().mid(1);
    for (const QString &key : keysToTry)
        run(key);
    return 0;
}
