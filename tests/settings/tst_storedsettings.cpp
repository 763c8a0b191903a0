#include "core/settings/storedsettings.h"
#include "fakes/settingsfolder.h"
#include "support/optionsetsamples.h"

#include <QTest>

using namespace ferncastle;

namespace {

// The keys as earlier versions stored them, misspellings included.
const QStringList keyNames{
    "CW Drive Enabled", "CW Port Enabled", "Kind Enabled", "Steps Enabled",
    "Tracks Enabled", "Sides Enabled", "Enconding Enabled", "Retries Enabled",
    "CW Drive", "CW Port", "Kind", "Steps", "Tracks", "Sides", "Enconding", "Retries",
    "Extra Parameters", "Last Used Directory", "DOS Files Path"};

StoredSettings firstRun()
{
    return {test::firstRunOptions(), {}, {}};
}

// An INI line as a hand edit would write it: blanks in key names escaped.
QByteArray iniLine(const QString &key, const QByteArray &rawValue)
{
    return key.toLatin1().replace(' ', "%20") + '=' + rawValue + '\n';
}

QString keyText(const char *name, const StoredSettings &values)
{
    for (const SettingKey &key : settingKeys()) {
        if (qstrcmp(key.name, name) == 0)
            return textToStore(key, values);
    }
    qFatal("no key %s", name);
}

} // namespace

class TestStoredSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysInStoreOrder();
    void nothingStoredGivesFirstRun();
    void writtenValuesReadBack_data();
    void writtenValuesReadBack();
    void writeLeavesToolsFolderAlone();
    void storedValueIsCheckedAgainstItsControl_data();
    void storedValueIsCheckedAgainstItsControl();
};

void TestStoredSettings::keysInStoreOrder()
{
    QStringList names;
    for (const SettingKey &key : settingKeys())
        names << QLatin1String(key.name);
    QCOMPARE(names, keyNames);
}

void TestStoredSettings::nothingStoredGivesFirstRun()
{
    test::SettingsFolder folder;
    QCOMPARE(readSettings(*openSettingsStore()), firstRun());
    QCOMPARE(defaultSettings(), firstRun());
}

void TestStoredSettings::writtenValuesReadBack_data()
{
    QTest::addColumn<StoredSettings>("values");
    QTest::newRow("first run") << firstRun();
    StoredSettings all = firstRun();
    for (int i = 0; i < GroupCount; ++i) {
        all.options.groups[i].checkState = Ticked;
        if (optionGroups()[i].kind == ValueKind::List)
            all.options.groups[i].listIndex = int(optionGroups()[i].entries.size()) - 1;
    }
    all.options.groups[Port].text = "0x280";
    all.options.extraParms = "-v 2";
    all.lastUsedDirectory = "/home/ann/disks/";
    QTest::newRow("all ticked, last entries") << all;
    StoredSettings greyed = firstRun();
    greyed.options.groups[Kind] = {Greyed, -1, {}};
    greyed.options.groups[Tracks] = {Greyed, -1, {}};
    QTest::newRow("greyed, nothing selected, empty text") << greyed;
    // Texts that an INI file must quote or escape to keep them whole.
    const QStringList texts{"a, b", "\"quoted\"", "x=1; y=2 # z", "@Variant(1)", "  padded  ",
                            "back\\slash", "Ærø 5¼\"", "tab\there", "C:\\Tools\\"};
    for (const QString &text : texts) {
        StoredSettings odd = firstRun();
        odd.options.groups[Port].text = text;
        odd.options.groups[Retries].text = text;
        odd.options.extraParms = text;
        odd.lastUsedDirectory = text;
        QTest::newRow(qPrintable(text)) << odd;
    }
}

void TestStoredSettings::writtenValuesReadBack()
{
    QFETCH(StoredSettings, values);
    test::SettingsFolder folder;
    folder.store(QLatin1String(keys::toolsFolder), "/opt/tools/");
    {
        const std::unique_ptr<QSettings> store = openSettingsStore();
        writeOptions(*store, values.options, values.lastUsedDirectory);
    }
    const std::unique_ptr<QSettings> reread = folder.rereadStore();
    values.toolsFolder = "/opt/tools/";
    QCOMPARE(readSettings(*reread), values);
    for (const QString &key : reread->childKeys())
        QCOMPARE(reread->value(key).typeId(), QMetaType::QString); // every value as text
}

void TestStoredSettings::writeLeavesToolsFolderAlone()
{
    test::SettingsFolder folder;
    {
        const std::unique_ptr<QSettings> store = openSettingsStore();
        writeOptions(*store, firstRun().options, {});
    }
    QStringList written = folder.rereadStore()->childKeys();
    QStringList expected = keyNames.mid(0, 18);
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);

    folder.store(QLatin1String(keys::toolsFolder), "/opt/tools/");
    writeOptions(*openSettingsStore(), firstRun().options, {});
    QCOMPARE(folder.rereadStore()->value(keys::toolsFolder).toString(), "/opt/tools/");
}

// Each row stores one text under one key in a hand-edited file; every other
// key stays at its default. Texts a control cannot take give the default.
void TestStoredSettings::storedValueIsCheckedAgainstItsControl_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<QString>("expected");
    const QList<QPair<QByteArray, QString>> boxes{
        {"1", "1"}, {" 1 ", "1"}, {"+1", "1"}, {"2", "2"}, {"0", "0"}, {"3", "0"},
        {"-1", "0"}, {"1.5", "0"}, {"1.0", "0"}, {"1e0", "0"}, {"0x1", "0"}, {"yes", "0"},
        {"", "0"}, {"70000", "0"}, {"99999999999999999999", "0"}, {"1,2", "0"},
        {"@Invalid()", "0"}, {"@ByteArray(1)", "1"}, {"\"1\"", "1"}};
    for (int i = 0; i < 8; ++i) {
        for (const auto &[stored, expected] : boxes)
            QTest::addRow("%s %s", qPrintable(keyNames[i]), stored.constData())
                << keyNames[i] << stored << expected;
    }
    for (int i = 0; i < GroupCount; ++i) {
        const QString key = keyNames[8 + i];
        if (optionGroups()[i].kind == ValueKind::Text) {
            for (const QByteArray stored : {"abc", "", "1.5", "70000", "-1"})
                QTest::addRow("%s %s", qPrintable(key), stored.constData())
                    << key << stored << QString::fromLatin1(stored); // texts as stored
            continue;
        }
        const QString fallback = keyText(settingKeys()[8 + i].name, firstRun());
        const int count = int(optionGroups()[i].entries.size());
        const QList<QPair<QByteArray, QString>> lists{
            {"-1", "-1"}, {"1", "1"}, {QByteArray::number(count - 1), QString::number(count - 1)},
            {QByteArray::number(count), fallback}, {"-2", fallback}, {"abc", fallback},
            {"0.5", fallback}, {"", fallback}, {"32768", fallback}, {"-32769", fallback}};
        for (const auto &[stored, expected] : lists)
            QTest::addRow("%s %s", qPrintable(key), stored.constData()) << key << stored << expected;
    }
    for (const QString &key : keyNames.mid(16))
        QTest::addRow("%s garbage", qPrintable(key)) << key << QByteArray("#?!") << "#?!";
}

void TestStoredSettings::storedValueIsCheckedAgainstItsControl()
{
    QFETCH(QString, key);
    QFETCH(QByteArray, stored);
    QFETCH(QString, expected);
    test::SettingsFolder folder;
    folder.writeFile("[Ferncastle]\n" + iniLine(key, stored));
    const StoredSettings read = readSettings(*openSettingsStore());
    QCOMPARE(keyText(qPrintable(key), read), expected);
    for (const QString &other : keyNames) {
        if (other != key)
            QCOMPARE(keyText(qPrintable(other), read), keyText(qPrintable(other), firstRun()));
    }
}

QTEST_GUILESS_MAIN(TestStoredSettings)
#include "tst_storedsettings.moc"
