#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "support/captionfit.h"
#include "support/modaldriver.h"
#include "support/standinprogram.h"

#include "forms/about/abouttext.h"
#include "forms/about/frmabout.h"
#include "forms/common/dialogprompts.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"
#include "platform/sysinfo.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;

namespace {

const QString unavailable = QStringLiteral("System Information Is Unavailable At This Time");

const QStringList descriptionLines{
    QStringLiteral("GUI interface for Penwicks excellent command line"),
    QStringLiteral("tools for reading and writing TRS80 Models I, III and 4"),
    QStringLiteral("disks and disk images using Brask's"),
    QStringLiteral("ISA and PCI CatWeasel cards."),
    QString(),
    QStringLiteral("Penwick         - https://penwick.example.org/"),
    QStringLiteral("Brask           - https://brask.example.org/"),
};

const QStringList disclaimerLines{
    QStringLiteral("TRS80 is a trade mark of the Tandy Corporation"),
    QStringLiteral("This application is not endorsed by, or in anyway"),
    QStringLiteral("affilated with, the Tandy Corporation."),
};

// Checks that a loaded About box shows what it should; empty when it does.
QString wrongContent(const frmAbout &about)
{
    if (about.windowTitle() != QStringLiteral("About Ferncastle"))
        return about.windowTitle();
    if (about.lblVersion->text() != QStringLiteral("Version 1.0.0"))
        return about.lblVersion->text();
    if (about.lblTitle->text() != QStringLiteral("Larkvale - Ferncastle"))
        return about.lblTitle->text();
    if (about.lblDescription->text() != descriptionLines.join(u'\n'))
        return about.lblDescription->text();
    if (about.lblDisclaimer->text() != disclaimerLines.join(u'\n'))
        return about.lblDisclaimer->text();
    return {};
}

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadFillsCaptionAndLabels();
    void textsJoinLinesWithLoneCarriageReturns();
    void labelsShowSeparateLines_data();
    void labelsShowSeparateLines();
    void creditLinePadsNameTo16_data();
    void creditLinePadsNameTo16();
    void captionsFit();
    void openedTwiceIsFilledAfresh();
    void sysInfoWithNoProgramOnPathSaysUnavailable();
    void sysInfoStartsProgramFoundOnPath();
    void realUnavailableBoxIsShownAndDismissed();
};

void TestAbout::loadFillsCaptionAndLabels()
{
    test::ScriptedPrompts prompts;
    PathSystemInformation systemInformation;
    frmAbout about(prompts, systemInformation, nullptr);
    about.Form_Load();
    QCOMPARE(wrongContent(about), QString());
    QVERIFY(about.lblTitle->font().bold());
    QCOMPARE(about.lblTitle->font().pointSizeF(), 9.75);
    QCOMPARE(about.picIcon->pixmap().size(), QSize(32, 32));
}

void TestAbout::textsJoinLinesWithLoneCarriageReturns()
{
    QCOMPARE(about::descriptionText(), descriptionLines.join(u'\r'));
    QCOMPARE(about::disclaimerText(), disclaimerLines.join(u'\r'));
}

void TestAbout::labelsShowSeparateLines_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("lineCount");

    QTest::newRow("description") << QStringLiteral("lblDescription") << 7;
    QTest::newRow("disclaimer") << QStringLiteral("lblDisclaimer") << 3;
}

// Measured as the label lays its text out, so a carriage return that the
// label would not break at shows up as one long line.
void TestAbout::labelsShowSeparateLines()
{
    QFETCH(QString, name);
    QFETCH(int, lineCount);
    test::ScriptedPrompts prompts;
    PathSystemInformation systemInformation;
    frmAbout about(prompts, systemInformation, nullptr);
    about.Form_Load();

    auto *label = about.findChild<QLabel *>(name);
    QVERIFY(label);
    const QFontMetrics metrics(label->font());
    const QSize laidOut = metrics.size(0, label->text());
    QVERIFY(laidOut.height() >= lineCount * metrics.height());
    QVERIFY(laidOut.height() < (lineCount + 1) * metrics.height());
    QVERIFY(laidOut.width() < metrics.horizontalAdvance(label->text()));
}

void TestAbout::creditLinePadsNameTo16_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("line");

    QTest::newRow("short") << QStringLiteral("Brask")
                           << QStringLiteral("Brask           - https://x.example.org/");
    QTest::newRow("longer, kept whole") << QStringLiteral("Seventeen chars!!")
                                        << QStringLiteral("Seventeen chars!!- https://x.example.org/");
}

void TestAbout::creditLinePadsNameTo16()
{
    QFETCH(QString, name);
    QFETCH(QString, line);
    QCOMPARE(about::creditLine(name, QStringLiteral("https://x.example.org/")), line);
}

void TestAbout::captionsFit()
{
    test::ScriptedPrompts prompts;
    PathSystemInformation systemInformation;
    frmAbout about(prompts, systemInformation, nullptr);
    about.Form_Load();
    QCOMPARE(about.size(), QSize(382, 252));
    const QString misfits = test::captionMisfits({about.lblTitle, about.lblVersion,
                                                  about.lblDescription, about.lblDisclaimer,
                                                  about.cmdOK, about.cmdSysInfo});
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits));
}

// Each opening is a new dialog loaded anew: what one opening changed is gone
// at the next. Enter (even on System Info), Esc and the close box each end
// the dialog, as OK does.
void TestAbout::openedTwiceIsFilledAfresh()
{
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    test::SettingsFolder settings;
    Moorfield window({prompts, launcher, settings.settingsStore()});
    const QList<std::function<void(frmAbout *)>> endings{
        [](frmAbout *about) { QTest::keyClick(about->cmdSysInfo, Qt::Key_Return); },
        [](frmAbout *about) { QTest::keyClick(about->cmdSysInfo, Qt::Key_Escape); },
        [](frmAbout *about) { about->close(); },
        [](frmAbout *about) { QTest::mouseClick(about->cmdOK, Qt::LeftButton); },
    };
    for (const auto &end : endings) {
        QPointer<frmAbout> shown;
        QString wrong = QStringLiteral("not shown");
        test::whenModalShown([&](QWidget *modal) {
            shown = qobject_cast<frmAbout *>(modal);
            if (!shown) {
                modal->close();
                return;
            }
            wrong = wrongContent(*shown);
            shown->lblVersion->setText(QStringLiteral("changed"));
            shown->lblDescription->setText(QStringLiteral("changed"));
            end(shown);
        });
        window.mnuAbout_Click();
        QCOMPARE(wrong, QString());
        QVERIFY(shown.isNull());
    }
    QVERIFY(prompts.events.isEmpty());
}

void TestAbout::sysInfoWithNoProgramOnPathSaysUnavailable()
{
    QTemporaryDir emptyFolder;
    test::ScopedPath path(emptyFolder.path());
    test::StartRecord record;
    test::ScriptedPrompts prompts;
    PathSystemInformation systemInformation;
    frmAbout about(prompts, systemInformation, nullptr);
    about.Form_Load();
    about.show();

    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);

    QCOMPARE(prompts.messages.size(), 1);
    QCOMPARE(prompts.messages[0].icon, QMessageBox::NoIcon);
    QCOMPARE(prompts.messages[0].title, QStringLiteral("Ferncastle"));
    QCOMPARE(prompts.messages[0].text, unavailable);
    QVERIFY(about.isVisible());
}

void TestAbout::sysInfoStartsProgramFoundOnPath()
{
    test::ScopedPath path(QStringLiteral(FIXTURES_DIR "/sysinfo"));
    test::StartRecord record;
    test::ScriptedPrompts prompts;
    PathSystemInformation systemInformation;
    frmAbout about(prompts, systemInformation, nullptr);
    about.Form_Load();
    about.show();

    QTest::mouseClick(about.cmdSysInfo, Qt::LeftButton);

    QCOMPARE(record.waitForStarts(1),
             QStringList{QStringLiteral(FIXTURES_DIR "/sysinfo/hardinfo")});
    QVERIFY(prompts.events.isEmpty());
    QVERIFY(about.isVisible());
}

void TestAbout::realUnavailableBoxIsShownAndDismissed()
{
    QTemporaryDir emptyFolder;
    test::ScopedPath path(emptyFolder.path());
    DialogPrompts prompts;
    PathSystemInformation systemInformation;
    frmAbout about(prompts, systemInformation, nullptr);
    about.Form_Load();
    about.show();

    test::ShownMessage shown{QString(), QString(), QMessageBox::Warning};
    test::readNextMessageBox(shown, &about);
    about.cmdSysInfo->click();

    QCOMPARE(shown.title, QStringLiteral("Ferncastle"));
    QCOMPARE(shown.text, unavailable);
    QCOMPARE(shown.icon, QMessageBox::NoIcon);
    QVERIFY(about.isVisible());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
