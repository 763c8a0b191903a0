#include "forms/common/dialogprompts.h"
#include "forms/common/plaintext.h"
#include "forms/run/runwindow.h"

#include "fakes/scriptedprompts.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTimer>

using namespace ferncastle;

namespace {

// Names a file can have (no slash): each would restyle rich text.
void hostileNames()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("tags") << QStringLiteral("<font color=red size=7>BIG<br>x.dmk");
    QTest::newRow("hidden words")
        << QStringLiteral("<span style=\"background:#ffffff;color:#ffffff\">gone.dmk");
    QTest::newRow("image and entity") << QStringLiteral("<img src=\"x.png\">&amp;y.dmk");
    QTest::newRow("table") << QStringLiteral("<table><tr><td>a.dmk");
}

} // namespace

class TestPlainText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void runWindowShowsNamesAndOutputAsTyped_data() { hostileNames(); }
    void runWindowShowsNamesAndOutputAsTyped();
    void messagesShowNamesAsTyped_data() { hostileNames(); }
    void messagesShowNamesAsTyped();
    void toolTipsShowNamesAsTyped_data() { hostileNames(); }
    void toolTipsShowNamesAsTyped();
};

// A run that fails part-way: the verdict, the incomplete image, the
// transcript line and the notes all name the file; every one shows it as
// typed.
void TestPlainText::runWindowShowsNamesAndOutputAsTyped()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("standin"));
    QFile file(script);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\nfor last; do :; done\nprintf 'x' > \"$last\"\n"
               "echo \"<b>$last</b>\" >&2\nexit 1\n");
    file.close();
    QFile::setPermissions(script, QFile::permissions(script) | QFile::ExeOwner);
    ToolCommand command;
    command.tool = QStringLiteral("cw2dmk");
    command.program = script;
    command.chosenFile = dir.filePath(name);
    command.arguments = {command.chosenFile};
    command.writtenFiles = {command.chosenFile};
    command.commandLine = QStringLiteral("cw2dmk \"") + command.chosenFile + u'"';
    test::ScriptedPrompts prompts;
    QPointer<RunWindow> window = new RunWindow(command, prompts);
    window->show();
    window->start();
    QVERIFY(QTest::qWaitFor([&] { return window->hasEnded(); }, 30000));
    int naming = 0;
    for (const QLabel *label : window->findChildren<QLabel *>()) {
        if (!label->text().contains(name))
            continue;
        ++naming;
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
    }
    QVERIFY(naming >= 2);
    delete window;
}

void TestPlainText::messagesShowNamesAsTyped()
{
    QFETCH(QString, name);
    DialogPrompts prompts;
    for (int ask = 0; ask < 2; ++ask) {
        Qt::TextFormat format = Qt::AutoText;
        QString text;
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            format = box->textFormat();
            text = box->text();
            box->done(QMessageBox::No);
        });
        const QString question = name + QStringLiteral(" already exists. Replace it?");
        if (ask == 0)
            prompts.askYesNo(nullptr, QStringLiteral("Ferncastle"), question);
        else
            prompts.showMessage(nullptr, QMessageBox::Warning, QStringLiteral("Ferncastle"), question);
        QCOMPARE(format, Qt::PlainText);
        QVERIFY(text.contains(name));
    }
}

// What a tooltip renders is the text itself, markup and all.
void TestPlainText::toolTipsShowNamesAsTyped()
{
    QFETCH(QString, name);
    const QString text = QStringLiteral("cw2dmk \"") + name + QStringLiteral("\"\n-v2 line two");
    QTextDocument rendered;
    rendered.setHtml(richTextShowingPlainText(text));
    QCOMPARE(rendered.toPlainText(), text);
}

QTEST_MAIN(TestPlainText)
#include "tst_plaintext.moc"
