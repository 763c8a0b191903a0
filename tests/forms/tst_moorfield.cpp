#include "fakes/scriptedprompts.h"
#include "forms/main/moorfield.h"
#include "platform/terminallauncher.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTest>

using namespace ferncastle;

class TestMoorfield : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void firstRunDisablesEveryValueControl();
};

void TestMoorfield::firstRunDisablesEveryValueControl()
{
    test::ScriptedPrompts prompts;
    TerminalLauncher launcher;
    Moorfield window({prompts, launcher});
    QVERIFY(window.Form_Load());
    for (const char *name : {"cboDrive", "txtPort", "cboKind", "cboSteps", "txtTracks",
                             "cboSides", "cboEncoding", "txtRetries"}) {
        auto *control = window.findChild<QWidget *>(QLatin1String(name));
        QVERIFY2(control, name);
        QVERIFY2(!control->isEnabled(), name);
    }
}

QTEST_MAIN(TestMoorfield)
#include "tst_moorfield.moc"
