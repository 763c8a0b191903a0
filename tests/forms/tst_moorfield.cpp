#include "core/settings/settingskeys.h"
#include "fakes/fakeprograms.h"
#include "fakes/scriptedprompts.h"
#include "fakes/settingsfolder.h"
#include "forms/common/optioncheckbox.h"
#include "forms/main/moorfield.h"
#include "platform/run/terminallauncher.h"
#include "support/captionfit.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

using namespace ferncastle;

namespace {

const char *const valueControlNames[] = {"cboDrive", "txtPort", "cboKind", "cboSteps",
                                         "txtTracks", "cboSides", "cboEncoding", "txtRetries"};
const char *const checkBoxNames[] = {"ckbDrive", "ckbPort", "ckbKind", "ckbSteps",
                                     "ckbTracks", "ckbSides", "ckbEncoding", "ckbRetries"};

QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

} // namespace

class TestMoorfield : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void geometry_data();
    void geometry();
    void clientAreaIsFixed();
    void captions_data();
    void captions();
    void listEntries_data();
    void listEntries();
    void menus();
    void everyOptionControlExplainsItself();
    void initialStateBeforeLoad();
    void firstRunValues();
    void tabOrder();
    void enablingFollowsBoxes_data();
    void enablingFollowsBoxes();
    void userCannotGreyABox();
    void enterAndEscapeTriggerNothing_data();
    void enterAndEscapeTriggerNothing();
    void textsFitTheirControls();
    void iconHasTwoSixteenColourImages();
    void warningsComeBeforeTheDialog();

private:
    template<typename T = QWidget>
    T *child(const char *name) const
    {
        auto *widget = m_window->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no child named %s", name);
        return widget;
    }

    std::unique_ptr<test::SettingsFolder> m_settings;
    test::ScriptedPrompts *m_prompts = nullptr;
    TerminalLauncher m_launcher;
    Moorfield *m_window = nullptr;
};

void TestMoorfield::init()
{
    m_settings = std::make_unique<test::SettingsFolder>(); // tools folder known: no prompt
    m_settings->store(QLatin1String(keys::toolsFolder), QStringLiteral("/opt/tools/"));
    m_prompts = new test::ScriptedPrompts;
    // Whatever card this machine has, Disk to Image goes on to its dialog.
    const auto noCardCheck = [](const QString &) {
        CardCheckResult result;
        result.applies = false;
        return result;
    };
    m_window = new Moorfield({*m_prompts, m_launcher, m_settings->settingsStore(), {}, noCardCheck});
}

void TestMoorfield::cleanup()
{
    delete m_window;
    delete m_prompts;
    m_settings.reset();
}

void TestMoorfield::geometry_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("expected");
    QTest::newRow("fraOptions") << "fraOptions" << twips(120, 120, 4935, 6015);
    for (int i = 0; i < 8; ++i) {
        const int top = 360 + 480 * i;
        const bool list = valueControlNames[i][0] == 'c';
        const int width = qstrcmp(valueControlNames[i], "cboKind") == 0 ? 2775 : 1455;
        QTest::newRow(checkBoxNames[i]) << checkBoxNames[i] << twips(240, top, 1695, 255);
        QTest::newRow(valueControlNames[i])
            << valueControlNames[i] << twips(2040, top, width, list ? 315 : 285);
    }
    QTest::newRow("lblExtraParms") << "lblExtraParms" << twips(240, 4080, 1695, 255);
    QTest::newRow("txtExtraParms") << "txtExtraParms" << twips(240, 4320, 4455, 285);
    QTest::newRow("cmdLoadSettings") << "cmdLoadSettings" << twips(240, 4800, 1335, 375);
    QTest::newRow("cmdSaveSettings") << "cmdSaveSettings" << twips(1680, 4800, 1335, 375);
    QTest::newRow("cmdRead") << "cmdRead" << twips(240, 5400, 1335, 375);
    QTest::newRow("cmdWrite") << "cmdWrite" << twips(1680, 5400, 1335, 375);
    QTest::newRow("fraJVOptions") << "fraJVOptions" << twips(120, 6240, 4935, 1575);
    QTest::newRow("lblOptionalParms") << "lblOptionalParms" << twips(240, 240, 1695, 255);
    QTest::newRow("txtOptionalParms") << "txtOptionalParms" << twips(240, 480, 4455, 285);
    QTest::newRow("cmdJV3") << "cmdJV3" << twips(240, 960, 1335, 375);
    QTest::newRow("cmdDMK") << "cmdDMK" << twips(1680, 960, 1335, 375);
    QTest::newRow("cmdExit") << "cmdExit" << twips(3720, 8040, 1335, 375);
}

void TestMoorfield::geometry()
{
    QFETCH(QString, name);
    QFETCH(QRect, expected);
    QCOMPARE(child(qPrintable(name))->geometry(), expected);
}

void TestMoorfield::clientAreaIsFixed()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window));
    QWidget *client = m_window->centralWidget();
    QCOMPARE(client->size(), QSize(346, 575));
    QCOMPARE(m_window->minimumSize(), m_window->maximumSize());
    QCOMPARE(client->y(), m_window->menuBar()->height());
    QCOMPARE(m_window->windowTitle(), QStringLiteral("Larkvale Ferncastle"));
    const Qt::WindowFlags flags = m_window->windowFlags();
    QVERIFY(flags & Qt::WindowCloseButtonHint);
    QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
}

void TestMoorfield::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char *const captions[] = {"CatWeasel drive", "CatWeasel port", "Drive kind",
                                    "Step multiplier", "Number of tracks", "Sides per disk",
                                    "Encoding", "Number of retries"};
    for (int i = 0; i < 8; ++i)
        QTest::newRow(checkBoxNames[i]) << checkBoxNames[i] << captions[i];
    QTest::newRow("fraOptions") << "fraOptions" << "CatWeasel Options";
    QTest::newRow("fraJVOptions") << "fraJVOptions" << "Conversion Options";
    QTest::newRow("lblExtraParms") << "lblExtraParms" << "Additional parameters";
    QTest::newRow("lblOptionalParms") << "lblOptionalParms" << "Optional parameters";
    QTest::newRow("cmdLoadSettings") << "cmdLoadSettings" << "&Load Options";
    QTest::newRow("cmdSaveSettings") << "cmdSaveSettings" << "&Save Options";
    QTest::newRow("cmdRead") << "cmdRead" << "&Disk to Image";
    QTest::newRow("cmdWrite") << "cmdWrite" << "&Image to Disk";
    QTest::newRow("cmdJV3") << "cmdJV3" << "&JV to DMK";
    QTest::newRow("cmdDMK") << "cmdDMK" << "&D&MK to JV";
    QTest::newRow("cmdExit") << "cmdExit" << "E&xit";
}

void TestMoorfield::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QWidget *widget = child(qPrintable(name));
    QString text;
    if (auto *button = qobject_cast<QAbstractButton *>(widget))
        text = button->text();
    else if (auto *frame = qobject_cast<QGroupBox *>(widget))
        text = frame->title();
    else
        text = qobject_cast<QLabel *>(widget)->text();
    QCOMPARE(text, caption);
}

void TestMoorfield::listEntries_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QStringList>("entries");
    QTest::newRow("cboDrive") << "cboDrive" << QStringList{" 0", " 1"};
    QTest::newRow("cboKind") << "cboKind"
                             << QStringList{"5.25 SD/DD in HD drive", "3.5 or 5.25 SD/DD in DD drive",
                                            "5.25 HD disk or 8 SD/DD disk", "3.5 HD disk"};
    QTest::newRow("cboSteps") << "cboSteps" << QStringList{" 1", " 2"};
    QTest::newRow("cboSides") << "cboSides" << QStringList{" 1", " 2"};
    QTest::newRow("cboEncoding") << "cboEncoding" << QStringList{"FM", "MFM", "RX02"};
}

void TestMoorfield::listEntries()
{
    QFETCH(QString, name);
    QFETCH(QStringList, entries);
    auto *list = child<QComboBox>(qPrintable(name));
    QVERIFY(!list->isEditable());
    QCOMPARE(list->count(), entries.size());
    for (int i = 0; i < list->count(); ++i) {
        QCOMPARE(list->itemText(i), entries[i]);
        QCOMPARE(list->itemData(i), QVariant(0));
    }
}

void TestMoorfield::menus()
{
    QStringList shown;
    for (QAction *menuAction : m_window->menuBar()->actions()) {
        shown << menuAction->menu()->objectName() + u'=' + menuAction->text();
        for (QAction *item : menuAction->menu()->actions()) {
            shown << item->objectName() + u'=' + item->text();
            QVERIFY(item->shortcut().isEmpty());
            // The checkable items are the added choices of where tools run
            // and of verifying a write.
            QVERIFY(!item->isSeparator());
            QCOMPARE(item->isCheckable(), item->objectName() == QLatin1String("mnuRunInTerminal")
                                              || item->objectName()
                                                     == QLatin1String("mnuVerifyAfterWriting"));
        }
    }
    QCOMPARE(shown, (QStringList{"mnuFile=&File", "mnuImageInfo=Image &Information...",
                                 "mnuExit=E&xit", "mnuOptions=&Options",
                                 "mnuLoadOptions=&Load CatWeasel Options",
                                 "mnuSaveOptions=&Save CatWeasel Options",
                                 "mnuPreferences=&Preferences",
                                 "mnuRunInTerminal=Run Tools in a &Terminal",
                                 "mnuVerifyAfterWriting=&Verify After Writing",
                                 "mnuCheckCard=&Check CatWeasel Card",
                                 "mnuPresets=P&resets",
                                 "mnuHelp=&Help",
                                 "mnuAbout=&About"}));
}

// Each tooltip names its group's own flag, so no group shows another's.
void TestMoorfield::everyOptionControlExplainsItself()
{
    for (int i = 0; i < GroupCount; ++i) {
        const QString flag = QLatin1String(optionGroups()[i].flag).trimmed();
        for (const char *name : {checkBoxNames[i], valueControlNames[i]}) {
            const QString tip = m_window->findChild<QWidget *>(QLatin1String(name))->toolTip();
            QVERIFY2(tip.startsWith(flag + u':'), name);
        }
    }
    QVERIFY(!m_window->txtExtraParms->toolTip().isEmpty());
    QVERIFY(!m_window->txtOptionalParms->toolTip().isEmpty());
}

void TestMoorfield::initialStateBeforeLoad()
{
    for (int i = 0; i < 8; ++i) {
        QCOMPARE(child<OptionCheckBox>(checkBoxNames[i])->value(), Unticked);
        QWidget *control = child(valueControlNames[i]);
        QVERIFY(control->isEnabled());
        if (auto *list = qobject_cast<QComboBox *>(control))
            QCOMPARE(list->currentIndex(), -1);
        else
            QVERIFY(static_cast<QLineEdit *>(control)->text().isEmpty());
    }
}

void TestMoorfield::firstRunValues()
{
    QVERIFY(m_window->Form_Load());
    const QStringList shown{" 0", "0", "5.25 SD/DD in HD drive", " 1", "86", " 2", "FM", "4"};
    for (int i = 0; i < 8; ++i) {
        QWidget *control = child(valueControlNames[i]);
        QVERIFY2(!control->isEnabled(), valueControlNames[i]);
        const auto *list = qobject_cast<QComboBox *>(control);
        QCOMPARE(list ? list->currentText() : static_cast<QLineEdit *>(control)->text(), shown[i]);
    }
    QVERIFY(m_window->txtExtraParms->isEnabled() && m_window->txtExtraParms->text().isEmpty());
    QVERIFY(m_window->txtOptionalParms->isEnabled() && m_window->txtOptionalParms->text().isEmpty());
}

void TestMoorfield::tabOrder()
{
    m_window->applyOptions([] {
        OptionSet all;
        for (GroupState &group : all.groups)
            group.checkState = Ticked;
        return all;
    }());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    m_window->checkBox(Drive)->setFocus();
    QStringList order{m_window->focusWidget()->objectName()};
    for (int i = 0; i < 24; ++i) {
        QTest::keyClick(m_window->focusWidget(), Qt::Key_Tab);
        order << m_window->focusWidget()->objectName();
    }
    QStringList expected;
    for (int i = 0; i < 8; ++i)
        expected << checkBoxNames[i] << valueControlNames[i];
    expected << "txtExtraParms" << "cmdLoadSettings" << "cmdSaveSettings" << "cmdRead" << "cmdWrite"
             << "txtOptionalParms" << "cmdJV3" << "cmdDMK" << "cmdExit";
    QCOMPARE(order, expected);
}

void TestMoorfield::enablingFollowsBoxes_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("state");
    QTest::addColumn<bool>("enabled");
    for (int i = 0; i < 8; ++i) {
        QTest::addRow("%s ticked", checkBoxNames[i]) << i << int(Ticked) << true;
        QTest::addRow("%s greyed", checkBoxNames[i]) << i << int(Greyed) << false;
    }
}

void TestMoorfield::enablingFollowsBoxes()
{
    QFETCH(int, group);
    QFETCH(int, state);
    QFETCH(bool, enabled);
    QVERIFY(m_window->Form_Load());
    const OptionSet before = m_window->currentOptions();
    child<OptionCheckBox>(checkBoxNames[group])->setValue(CheckValue(state));
    for (int i = 0; i < 8; ++i)
        QCOMPARE(child(valueControlNames[i])->isEnabled(), i == group && enabled);
    child<OptionCheckBox>(checkBoxNames[group])->setValue(Unticked);
    QVERIFY(!child(valueControlNames[group])->isEnabled());
    OptionSet after = m_window->currentOptions();
    QCOMPARE(after, before); // disabling keeps every value
}

void TestMoorfield::userCannotGreyABox()
{
    QVERIFY(m_window->Form_Load());
    OptionCheckBox *box = m_window->checkBox(Kind);
    box->setValue(Greyed);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    QCOMPARE(box->value(), Ticked);
    QVERIFY(m_window->list(Kind)->isEnabled());
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->value(), Unticked);
    QTest::keyClick(box, Qt::Key_Space);
    QCOMPARE(box->value(), Ticked);
}

void TestMoorfield::enterAndEscapeTriggerNothing_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    for (const char *name : {"cmdRead", "cmdExit", "txtExtraParms", "ckbDrive"}) {
        QTest::addRow("%s Enter", name) << name << int(Qt::Key_Return);
        QTest::addRow("%s Esc", name) << name << int(Qt::Key_Escape);
    }
}

void TestMoorfield::enterAndEscapeTriggerNothing()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QVERIFY(m_window->Form_Load());
    m_window->show();
    QVERIFY(QTest::qWaitForWindowActive(m_window));
    child(qPrintable(focus))->setFocus();
    QTest::keyClick(child(qPrintable(focus)), Qt::Key(key));
    QVERIFY(m_prompts->events.isEmpty());
    QVERIFY(m_window->isVisible());
}

void TestMoorfield::textsFitTheirControls()
{
    for (auto *button : m_window->findChildren<QAbstractButton *>()) {
        QVERIFY2(button->sizeHint().width() <= button->width(), qPrintable(button->objectName()));
        QVERIFY2(button->fontMetrics().height() <= button->height(), qPrintable(button->objectName()));
    }
    for (auto *label : m_window->findChildren<QLabel *>())
        QVERIFY2(label->sizeHint().width() <= label->width(), qPrintable(label->objectName()));
    QList<const QWidget *> captioned;
    for (const QWidget *widget : m_window->findChildren<QWidget *>()) {
        if (qobject_cast<const QPushButton *>(widget) || qobject_cast<const QLabel *>(widget))
            captioned.append(widget);
    }
    const QString misfits = test::captionMisfits(captioned);
    QVERIFY2(misfits.isEmpty(), qPrintable(misfits));
    for (auto *list : m_window->findChildren<QComboBox *>()) {
        list->setSizeAdjustPolicy(QComboBox::AdjustToContents); // measures every entry
        QVERIFY2(list->sizeHint().width() <= list->width(), qPrintable(list->objectName()));
        QVERIFY2(list->fontMetrics().height() <= list->height() - 4, qPrintable(list->objectName()));
    }
    for (auto *frame : m_window->findChildren<QGroupBox *>()) {
        const int title = frame->fontMetrics().horizontalAdvance(frame->title());
        QVERIFY2(title + 16 <= frame->width(), qPrintable(frame->objectName()));
    }
}

void TestMoorfield::iconHasTwoSixteenColourImages()
{
    const QIcon icon = m_window->windowIcon();
    QCOMPARE(icon.availableSizes(), (QList<QSize>{QSize(32, 32), QSize(16, 16)}));
    for (const QSize &size : icon.availableSizes()) {
        const QImage image = icon.pixmap(size).toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)) == 255)
                    colours.insert(image.pixel(x, y));
        QVERIFY(colours.size() >= 4 && colours.size() <= 16);
    }
}

void TestMoorfield::warningsComeBeforeTheDialog()
{
    test::FakePrograms fake; // a tool and a terminal, so that the dialog opens
    QVERIFY(fake.addTerminal() && fake.addTool(QStringLiteral("cw2dmk")));
    QVERIFY(m_window->Form_Load());
    m_window->DosFilesPath = fake.binDir();
    m_window->checkBox(Port)->setValue(Ticked);
    m_window->textBox(Port)->setText(QStringLiteral("xyz")); // "abc" would be hexadecimal
    m_window->checkBox(Tracks)->setValue(Ticked);
    m_window->textBox(Tracks)->setText(QStringLiteral("99"));
    m_window->checkBox(Retries)->setValue(Ticked);
    m_window->textBox(Retries)->setText(QStringLiteral("x"));
    m_window->cmdRead->click(); // the dialog is cancelled
    QCOMPARE(m_prompts->events,
             (QStringList{"message: The 'CatWeasel port' is not a number. Option not used",
                          "message: The 'Number of tracks' is not between 2 and 86 tracks. Option not used",
                          "message: The 'Number of retries' is not a number. Option not used",
                          "file dialog"}));
    for (const auto &message : m_prompts->messages) {
        QCOMPARE(message.title, QStringLiteral("Moorfield"));
        QCOMPARE(message.icon, QMessageBox::Warning);
    }
    QCOMPARE(m_prompts->fileRequests.first().title, QStringLiteral("Select File..."));
    QVERIFY(m_window->CommonDialog1.InitDir.isEmpty());
}

QTEST_MAIN(TestMoorfield)
#include "tst_moorfield.moc"
