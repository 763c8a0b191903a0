// Messages that quote a stored or typed path stay short, however long the
// path: a message box lays its text out in more than linear time.
#include "core/settings/optionfileio.h"
#include "fakes/settingsfolder.h"
#include "platform/run/toolcheck.h"
#include "platform/settings/settingsstore.h"

#include <QDir>
#include <QTest>

using namespace ferncastle;

namespace {

constexpr qsizetype longLength = 10 * 1024 * 1024;
constexpr qsizetype shortMessage = 1000;

QString longFolder()
{
    return u'/' + QString(longLength, u'x') + u'/';
}

} // namespace

class TestLongValues : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void toolCheckMessageIsShort_data();
    void toolCheckMessageIsShort();
    void optionFileMessagesAreShort();
    void storeLocationIsShort();
};

void TestLongValues::toolCheckMessageIsShort_data()
{
    QTest::addColumn<QString>("program");
    QTest::newRow("long folder") << longFolder() + "cw2dmk";
    QTest::newRow("folder without a separator") << longFolder().chopped(1) + "cw2dmk";
    QTest::newRow("long relative path") << QString(longLength, u'y') + "/cw2dmk";
}

void TestLongValues::toolCheckMessageIsShort()
{
    QFETCH(QString, program);
    const CheckedTool tool = checkTool(program);
    QVERIFY(tool.path.isEmpty());
    QVERIFY2(tool.error.size() < shortMessage, qPrintable(QString::number(tool.error.size())));
    QVERIFY(tool.error.startsWith("Could not start "));
    QVERIFY(tool.error.contains("characters"));
}

void TestLongValues::optionFileMessagesAreShort()
{
    const QString name = longFolder() + "options.dat";
    const LoadedOptionFile loaded = loadOptionFile(name);
    QVERIFY(!loaded.options);
    QVERIFY2(loaded.error.size() < shortMessage, qPrintable(QString::number(loaded.error.size())));
    const QString saveError = saveOptionFile(name, OptionSet{});
    QVERIFY(!saveError.isEmpty());
    QVERIFY2(saveError.size() < shortMessage, qPrintable(QString::number(saveError.size())));
}

void TestLongValues::storeLocationIsShort()
{
    test::SettingsFolder folder;
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, longFolder());
    const std::unique_ptr<QSettings> store = openSettingsStore();
    const QString location = settingsStoreLocation(*store);
    QVERIFY2(location.size() < shortMessage, qPrintable(QString::number(location.size())));
    const qsizetype fullLength = longFolder().size() + QString("Larkvale.ini").size();
    QVERIFY(location.endsWith(QStringLiteral("Larkvale.ini [%1 characters]").arg(fullLength)));
}

QTEST_GUILESS_MAIN(TestLongValues)
#include "tst_longvalues.moc"
