#include "fakes/filesizelimit.h"
#include "fakes/settingsfolder.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QTest>

using namespace ferncastle;

namespace {

const QByteArray goodFile = "[Ferncastle]\nCW%20Drive%20Enabled=1\nKind=2\n\n[Other]\nkept=yes\n";

bool storeValue(const QString &key, const QString &value)
{
    const std::unique_ptr<QSettings> store = openSettingsStore();
    store->setValue(key, value);
    return commitSettingsStore(*store);
}

QStringList leftovers(const test::SettingsFolder &folder)
{
    return QDir(folder.path()).entryList({"*.previous"}, QDir::AllEntries | QDir::Hidden);
}

} // namespace

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void storeIsLarkvaleIniInTheConfigFolder();
    void commitKeepsOtherSectionsAndLeavesNothingBehind();
    void damagedFileIsCopiedBeforeItIsRewritten_data();
    void damagedFileIsCopiedBeforeItIsRewritten();
    void unwritableLocationFails_data();
    void unwritableLocationFails();
    void shortWriteKeepsTheEarlierFile();
    void shortFirstWriteLeavesNoFile();
};

void TestSettingsStore::storeIsLarkvaleIniInTheConfigFolder()
{
    test::SettingsFolder folder;
    const std::unique_ptr<QSettings> store = openSettingsStore();
    QCOMPARE(store->fileName(), folder.storeFile());
    QCOMPARE(store->group(), "Ferncastle");
    QCOMPARE(settingsStoreLocation(*store), QDir::toNativeSeparators(folder.storeFile()));
}

void TestSettingsStore::commitKeepsOtherSectionsAndLeavesNothingBehind()
{
    test::SettingsFolder folder;
    folder.writeFile(goodFile);
    QVERIFY(storeValue("Kind", "3"));
    const std::unique_ptr<QSettings> reread = folder.rereadStore();
    QCOMPARE(reread->value("Kind").toString(), "3");
    QCOMPARE(reread->value("CW Drive Enabled").toString(), "1");
    reread->endGroup();
    QCOMPARE(reread->value("Other/kept").toString(), "yes");
    QVERIFY(leftovers(folder).isEmpty());
    QVERIFY(folder.damagedCopies().isEmpty());
}

void TestSettingsStore::damagedFileIsCopiedBeforeItIsRewritten_data()
{
    QTest::addColumn<QByteArray>("damaged");
    QTest::newRow("cut mid-line") << QByteArray("[Ferncastle]\nCW%20Drive%20Enabled=1\nKin");
    QTest::newRow("cut in a header") << QByteArray("[Ferncastle]\nKind=2\n[Oth");
    QTest::newRow("bad line in another section") << QByteArray("[Ferncastle]\nKind=2\n[Other]\nnot a value\n");
}

void TestSettingsStore::damagedFileIsCopiedBeforeItIsRewritten()
{
    QFETCH(QByteArray, damaged);
    test::SettingsFolder folder;
    folder.writeFile(damaged);
    QVERIFY(storeValue("Steps", "1"));
    const QStringList copies = folder.damagedCopies();
    QCOMPARE(copies.size(), 1);
    QFile copy(QDir(folder.path()).filePath(copies.first()));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), damaged);
    QCOMPARE(folder.rereadStore()->value("Steps").toString(), "1");

    QVERIFY(storeValue("Steps", "0")); // the file is whole again: no second copy
    QCOMPARE(folder.damagedCopies().size(), 1);
}

void TestSettingsStore::unwritableLocationFails_data()
{
    QTest::addColumn<bool>("parentIsAFile");
    QTest::newRow("a folder where the file should be") << false;
    QTest::newRow("the folder is a regular file") << true;
}

void TestSettingsStore::unwritableLocationFails()
{
    QFETCH(bool, parentIsAFile);
    test::SettingsFolder folder;
    if (parentIsAFile) {
        const QString blocker = QDir(folder.path()).filePath("config");
        QFile file(blocker);
        QVERIFY(file.open(QIODevice::WriteOnly));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, blocker);
    } else {
        QVERIFY(QDir(folder.path()).mkdir("Larkvale.ini"));
    }
    QVERIFY(!storeValue("Kind", "1"));
}

void TestSettingsStore::shortWriteKeepsTheEarlierFile()
{
    test::SettingsFolder folder;
    folder.writeFile(goodFile);
    {
        test::FileSizeLimit limit(1024);
        QVERIFY(!storeValue("Extra Parameters", QString(4000, u'x')));
    }
    QCOMPARE(folder.fileBytes(), goodFile);
    QVERIFY(leftovers(folder).isEmpty());
}

void TestSettingsStore::shortFirstWriteLeavesNoFile()
{
    test::SettingsFolder folder;
    {
        test::FileSizeLimit limit(1024);
        QVERIFY(!storeValue("DOS Files Path", "/opt/" + QString(4000, u'x') + "/"));
    }
    QVERIFY(!QFileInfo::exists(folder.storeFile()));
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
