#include "core/filefilter.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"
#include "support/optionsetsamples.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ferncastle;
using namespace ferncastle::test;

namespace {

// A main window holding the first-run values, answered from a script.
struct Window {
    SettingsFolder settings;
    ScriptedPrompts prompts;
    TerminalLauncher launcher;
    Moorfield window{{prompts, launcher, settings.settingsStore()}};

    Window()
    {
        window.applyOptions(firstRunOptions());
        window.UpdateOptionControls();
        window.CommonDialog1.InitDir = QStringLiteral("/start/");
    }

    void save(const QString &fileName)
    {
        prompts.answerFile(fileName);
        window.cmdSaveSettings->click();
    }

    void load(const QString &fileName)
    {
        prompts.answerFile(fileName);
        window.cmdLoadSettings->click();
    }
};

OptionSet sampleOptions()
{
    OptionSet options = firstRunOptions();
    options.groups[Drive] = {Ticked, 1, {}};
    options.groups[Port] = {Greyed, -1, QStringLiteral(" 0x280 ")};
    options.groups[Kind] = {Unticked, 3, {}};
    options.groups[Steps] = {Ticked, -1, {}};
    options.groups[Tracks] = {Ticked, -1, QString()};
    options.groups[Sides].listIndex = 1;
    options.groups[Encoding] = {Ticked, 2, {}};
    options.groups[Retries].text = QStringLiteral("Ünf €");
    options.extraParms = QStringLiteral("  -v 3");
    return options;
}

QByteArray readAll(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &fileName, const QByteArray &bytes)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System
                                  | QDir::NoDotAndDotDot);
}

QString failureHead(const QString &fileName, const char *action)
{
    return QStringLiteral("The options file \"%1\" cannot be %2.\r")
        .arg(fileName, QLatin1String(action));
}

// A failed save: one critical box that names the file and gives a reason.
void verifySaveFailure(const ScriptedPrompts &prompts, const QString &fileName)
{
    QCOMPARE(prompts.messages.size(), 1);
    const ScriptedPrompts::Message &message = prompts.messages.first();
    QCOMPARE(message.icon, QMessageBox::Critical);
    QCOMPARE(message.title, QStringLiteral("Ferncastle"));
    const QString head = failureHead(fileName, "saved");
    QVERIFY2(message.text.startsWith(head) && message.text.size() > head.size(),
             qPrintable(message.text));
}

} // namespace

class TestOptionFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveWritesTheFirstRunFile();
    void saveThenLoadRestoresEveryValue();
    void loadReadsOtherFiles_data();
    void loadReadsOtherFiles();
    void loadLeavesOptionalParmsAndToolsFolder();
    void nextDialogOpensInTheFilesFolder();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void loadRefusesBadFile_data();
    void loadRefusesBadFile();
    void saveFailureKeepsOldFile_data();
    void saveFailureKeepsOldFile();
    void saveRefusesDevice_data();
    void saveRefusesDevice();
    void saveRefusesTextWithLineBreak();
    void shortWriteKeepsOldFile();
    void fullFileSystemKeepsOldFile();
};

void TestOptionFiles::saveWritesTheFirstRunFile()
{
    QTemporaryDir dir;
    Window w;
    w.window.CommonDialog1.FileName = QStringLiteral("/left/over.DMK");
    const QString fileName = dir.filePath(QStringLiteral("first.DAT"));
    w.save(fileName);
    QCOMPARE(readAll(fileName), firstRunFile());
    QVERIFY(w.prompts.messages.isEmpty());
    QCOMPARE(w.prompts.fileRequests.size(), 1);
    const FileRequest &request = w.prompts.fileRequests.first();
    QCOMPARE(request.mode, FileRequest::Mode::Save);
    QCOMPARE(request.title, QStringLiteral("Select File..."));
    QCOMPARE(request.initialDir, QStringLiteral("/start/"));
    QCOMPARE(request.fileName, QString());
    QCOMPARE(request.defaultExt, QStringLiteral(".DAT"));
    QCOMPARE(request.filter, QLatin1String(filters::optionFiles));
}

// Through the menu items, which must act as the buttons do.
void TestOptionFiles::saveThenLoadRestoresEveryValue()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("sample.DAT"));
    Window w;
    w.window.applyOptions(sampleOptions());
    w.prompts.answerFile(fileName);
    w.window.mnuSaveOptions->trigger();
    w.window.applyOptions(firstRunOptions());
    w.prompts.answerFile(fileName);
    w.window.mnuLoadOptions->trigger();

    QVERIFY(w.prompts.messages.isEmpty());
    QCOMPARE(w.window.currentOptions(), sampleOptions());
    QCOMPARE(w.prompts.fileRequests.last().mode, FileRequest::Mode::Open);
    for (int i = 0; i < GroupCount; ++i) {
        const OptionGroup &group = optionGroups()[i];
        auto *control = w.window.findChild<QWidget *>(QLatin1String(group.valueName));
        QVERIFY2(control, group.valueName);
        QCOMPARE(control->isEnabled(), sampleOptions().groups[i].checkState == Ticked);
    }
}

void TestOptionFiles::loadReadsOtherFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("port");

    QByteArray lf = firstRunFile();
    lf.replace("\r\n", "\n");
    QTest::newRow("LF only") << lf << QStringLiteral("0");
    QTest::newRow("over-long")
        << QByteArray(firstRunFileWith(10, "7") + QByteArray(100000, '\n')) << QStringLiteral("7");
    QTest::newRow("Windows-1252") << firstRunFileWith(10, "\x80 caf\xE9") << QStringLiteral("€ café");
}

void TestOptionFiles::loadReadsOtherFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, port);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("other.dat"));
    QVERIFY(writeFile(fileName, bytes));
    Window w;
    w.window.applyOptions(sampleOptions());
    w.load(fileName);
    QVERIFY(w.prompts.messages.isEmpty());
    OptionSet expected = firstRunOptions();
    expected.groups[Port].text = port;
    QCOMPARE(w.window.currentOptions(), expected);
}

void TestOptionFiles::loadLeavesOptionalParmsAndToolsFolder()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("a.DAT"));
    QVERIFY(writeFile(fileName, firstRunFileWith(17, "-x 2")));
    Window w;
    w.window.txtOptionalParms->setText(QStringLiteral("-v 9"));
    w.window.DosFilesPath = QStringLiteral("/opt/tools/");
    w.load(fileName);
    QCOMPARE(w.window.txtExtraParms->text(), QStringLiteral("-x 2"));
    QCOMPARE(w.window.txtOptionalParms->text(), QStringLiteral("-v 9"));
    QCOMPARE(w.window.DosFilesPath, QStringLiteral("/opt/tools/"));
}

void TestOptionFiles::nextDialogOpensInTheFilesFolder()
{
    QTemporaryDir saveDir;
    QTemporaryDir loadDir;
    const QString saved = saveDir.filePath(QStringLiteral("s.DAT"));
    const QString loaded = loadDir.filePath(QStringLiteral("l.DAT"));
    QVERIFY(writeFile(loaded, firstRunFile()));
    Window w;
    w.save(saved);
    w.load(loaded);
    w.save(QString());
    QCOMPARE(w.prompts.fileRequests.size(), 3);
    QCOMPARE(w.prompts.fileRequests[1].initialDir, saveDir.path() + u'/');
    QCOMPARE(w.prompts.fileRequests[2].initialDir, loadDir.path() + u'/');
    QCOMPARE(w.window.CommonDialog1.InitDir, loadDir.path() + u'/');
}

void TestOptionFiles::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("save") << true;
    QTest::newRow("load") << false;
}

void TestOptionFiles::cancelChangesNothing()
{
    QFETCH(bool, saving);
    Window w;
    w.window.applyOptions(sampleOptions());
    saving ? w.save(QString()) : w.load(QString());
    QCOMPARE(w.prompts.fileRequests.size(), 1);
    QVERIFY(w.prompts.messages.isEmpty());
    QCOMPARE(w.window.CommonDialog1.InitDir, QStringLiteral("/start/"));
    QCOMPARE(w.window.currentOptions(), sampleOptions());
}

void TestOptionFiles::loadRefusesBadFile_data()
{
    QTest::addColumn<QByteArray>("bytes"); // "<folder>": a folder; "<none>": no file
    QTest::addColumn<QString>("reason");

    QTest::newRow("no such file") << QByteArray("<none>") << QStringLiteral("The file does not exist.");
    QTest::newRow("folder") << QByteArray("<folder>") << QStringLiteral("It is a folder.");
    QTest::newRow("bad line after good ones") << firstRunFileWith(15, "MFM")
                                              << QStringLiteral("Line 15 (\"Encoding\" list): \"MFM\" is not a whole number.");
    QTest::newRow("large binary file") << QByteArray(2 * 1024 * 1024, '\x01')
                                       << QStringLiteral("This is not an options file");
}

// Nothing but the start folder changes, even when the fault lies in the last
// line after every box line was good.
void TestOptionFiles::loadRefusesBadFile()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("bad.DAT"));
    if (bytes == "<folder>")
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("bad.DAT")));
    else if (bytes != "<none>")
        QVERIFY(writeFile(fileName, bytes));
    Window w;
    w.window.applyOptions(sampleOptions());
    w.load(fileName);
    QCOMPARE(w.window.currentOptions(), sampleOptions());
    QCOMPARE(w.window.CommonDialog1.InitDir, dir.path() + u'/');
    QCOMPARE(w.prompts.messages.size(), 1);
    const ScriptedPrompts::Message &message = w.prompts.messages.first();
    QCOMPARE(message.icon, QMessageBox::Warning);
    QCOMPARE(message.title, QStringLiteral("Ferncastle"));
    QVERIFY2(message.text.startsWith(failureHead(fileName, "loaded") + reason),
             qPrintable(message.text));
}

void TestOptionFiles::saveFailureKeepsOldFile_data()
{
    QTest::addColumn<QString>("blocker"); // made in the folder before saving
    QTest::addColumn<QString>("target");  // relative to the folder
    QTest::addColumn<QString>("reason");  // empty: whatever the system says

    QTest::newRow("parent is a regular file") << QStringLiteral("file:old.DAT")
                                              << QStringLiteral("old.DAT/new.DAT") << QString();
    QTest::newRow("folder in the file's place") << QStringLiteral("folder:old.DAT")
                                                << QStringLiteral("old.DAT")
                                                << QStringLiteral("It is a folder.");
    QTest::newRow("FIFO in the file's place")
        << QStringLiteral("fifo:old.DAT") << QStringLiteral("old.DAT")
        << QStringLiteral("It is not a regular file but a device or a pipe.");
    QTest::newRow("missing folder") << QStringLiteral("file:old.DAT")
                                    << QStringLiteral("none/new.DAT") << QString();
}

void TestOptionFiles::saveFailureKeepsOldFile()
{
    QFETCH(QString, blocker);
    QFETCH(QString, target);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    const QString kind = blocker.section(u':', 0, 0);
    const QString blockerPath = dir.filePath(blocker.section(u':', 1));
    if (kind == QLatin1String("file"))
        QVERIFY(writeFile(blockerPath, firstRunFile()));
    else if (kind == QLatin1String("folder"))
        QVERIFY(QDir().mkpath(blockerPath + QStringLiteral("/inside")));
    else
        QCOMPARE(::mkfifo(QFile::encodeName(blockerPath).constData(), 0600), 0);
    const QStringList before = entries(dir.path());

    Window w;
    w.window.applyOptions(sampleOptions());
    const QString fileName = dir.filePath(target);
    w.save(fileName);

    verifySaveFailure(w.prompts, fileName);
    if (QTest::currentTestFailed())
        return;
    if (!reason.isEmpty())
        QCOMPARE(w.prompts.messages.first().text.section(u'\r', 1), reason);
    QCOMPARE(entries(dir.path()), before);
    if (kind == QLatin1String("file"))
        QCOMPARE(readAll(blockerPath), firstRunFile());
    if (kind == QLatin1String("folder"))
        QCOMPARE(entries(blockerPath), QStringList{QStringLiteral("inside")});
    QCOMPARE(w.window.currentOptions(), sampleOptions());
}

void TestOptionFiles::saveRefusesDevice_data()
{
    QTest::addColumn<QString>("device");
    QTest::newRow("/dev/null") << QStringLiteral("/dev/null");
    QTest::newRow("/dev/full") << QStringLiteral("/dev/full");
}

// Nothing may be "saved" into a device that swallows or refuses the bytes.
void TestOptionFiles::saveRefusesDevice()
{
    QFETCH(QString, device);
    if (!QFile::exists(device))
        QSKIP("no such device here");
    const QStringList before = entries(QStringLiteral("/dev"));
    Window w;
    w.save(device);
    verifySaveFailure(w.prompts, device);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(entries(QStringLiteral("/dev")), before);
    QCOMPARE(w.window.CommonDialog1.InitDir, QStringLiteral("/dev/"));
}

void TestOptionFiles::saveRefusesTextWithLineBreak()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("old.DAT"));
    QVERIFY(writeFile(fileName, firstRunFile()));
    Window w;
    w.window.textBox(Port)->setText(QStringLiteral("1\n2"));
    QCOMPARE(w.window.textBox(Port)->text(), QStringLiteral("1\n2"));
    w.save(fileName);
    verifySaveFailure(w.prompts, fileName);
    if (QTest::currentTestFailed())
        return;
    QVERIFY(w.prompts.messages.first().text.contains(QLatin1String("\"CatWeasel port\"")));
    QCOMPARE(readAll(fileName), firstRunFile());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.DAT")});
}

// A file-size limit cuts the write short after a few bytes, as a full disk
// would, and holds even for root.
void TestOptionFiles::shortWriteKeepsOldFile()
{
    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("old.DAT"));
    QVERIFY(writeFile(fileName, firstRunFile()));
    Window w;
    w.window.applyOptions(sampleOptions());

    rlimit saved{};
    QCOMPARE(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
    w.save(fileName);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    verifySaveFailure(w.prompts, fileName);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readAll(fileName), firstRunFile());
    QCOMPARE(entries(dir.path()), QStringList{QStringLiteral("old.DAT")});
}

void TestOptionFiles::fullFileSystemKeepsOldFile()
{
    QTemporaryDir dir;
    const QString mountPoint = dir.path();
    const int mounted = QProcess::execute(QStringLiteral("mount"),
                                          {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                           QStringLiteral("-o"), QStringLiteral("size=8k"),
                                           QStringLiteral("tmpfs"), mountPoint});
    if (mounted != 0)
        QSKIP("cannot mount a small tmpfs here");
    const auto unmount = qScopeGuard([&] {
        QProcess::execute(QStringLiteral("umount"), {mountPoint});
    });
    const QString fileName = dir.filePath(QStringLiteral("old.DAT"));
    QVERIFY(writeFile(fileName, firstRunFile()));
    QFile filler(dir.filePath(QStringLiteral("filler")));
    QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
    while (filler.write(QByteArray(512, 'f')) == 512) {
    }
    filler.close();

    Window w;
    w.window.applyOptions(sampleOptions());
    w.save(fileName);

    verifySaveFailure(w.prompts, fileName);
    if (QTest::currentTestFailed())
        return;
    QCOMPARE(readAll(fileName), firstRunFile());
    QCOMPARE(entries(dir.path()), (QStringList{QStringLiteral("filler"), QStringLiteral("old.DAT")}));
}

QTEST_MAIN(TestOptionFiles)
#include "tst_optionfiles.moc"
