#include "fakes/filesizelimit.h"
#include "fakes/settingsfolder.h"
#include "platform/settings/settingsstore.h"

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
    return QDir(folder.path()).entryList({"*.previous", "*.reread-*"}, QDir::AllEntries | QDir::Hidden);
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
    void keysOutsideTheSectionNeverFailASave_data();
    void keysOutsideTheSectionNeverFailASave();
    void sameDamageIsCopiedOnce();
    void unusableTemporaryFolderDoesNotFailASave_data();
    void unusableTemporaryFolderDoesNotFailASave();
    void danglingLinkIsWrittenThrough_data();
    void danglingLinkIsWrittenThrough();
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

void TestSettingsStore::keysOutsideTheSectionNeverFailASave_data()
{
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<int>("damagedCopies");
    QTest::newRow("key in an empty section") << QByteArray("[]\nk=1\n[Ferncastle]\nKind=2\n") << 0;
    QTest::newRow("section starting with a slash") << QByteArray("[/Other]\nk=1\n[Ferncastle]\nKind=2\n") << 0;
    QTest::newRow("header split over two lines") << QByteArray("[Ferncastle]\nKind=2\n[Oth\ner]\nk=1\n") << 1;
    QTest::newRow("own header split over two lines") << QByteArray("[Fern\ncastle]\nKind=2\n[Ferncastle]\nKind=2\n") << 1;
    QTest::newRow("header split before a key") << QByteArray("[Ferncastle]\nKind=2\n[Other\n]\nk=1\n") << 1;
    QTest::newRow("key before any section") << QByteArray("k=1\n[Ferncastle]\nKind=2\n") << 0;
}

// Each store is saved three times: the second and third saves find the
// file as the first left it, and may not count it as damaged again.
void TestSettingsStore::keysOutsideTheSectionNeverFailASave()
{
    QFETCH(QByteArray, before);
    QFETCH(int, damagedCopies);
    test::SettingsFolder folder;
    folder.writeFile(before);
    for (const char *value : {"1", "2", "3"}) {
        QVERIFY2(storeValue("Steps", value), value);
        QCOMPARE(folder.rereadStore()->value("Steps").toString(), value);
    }
    QCOMPARE(folder.rereadStore()->value("Kind").toString(), "2");
    QCOMPARE(folder.damagedCopies().size(), damagedCopies);
}

// A file that comes back with the same damage (another program rewrites
// it so) is already kept; a second copy would only pile up.
void TestSettingsStore::sameDamageIsCopiedOnce()
{
    test::SettingsFolder folder;
    const QByteArray damaged("[Ferncastle]\nKind=2\n[Oth");
    for (const char *value : {"1", "2", "3"}) {
        folder.writeFile(damaged);
        QVERIFY(storeValue("Steps", value));
    }
    QCOMPARE(folder.damagedCopies().size(), 1);
    folder.writeFile(damaged + "er");
    QVERIFY(storeValue("Steps", "4"));
    QCOMPARE(folder.damagedCopies().size(), 2);
}

void TestSettingsStore::unusableTemporaryFolderDoesNotFailASave_data()
{
    QTest::addColumn<bool>("tempIsAFile");
    QTest::newRow("missing") << false;
    QTest::newRow("a regular file") << true;
}

void TestSettingsStore::unusableTemporaryFolderDoesNotFailASave()
{
    QFETCH(bool, tempIsAFile);
    test::SettingsFolder folder;
    const QString temp = QDir(folder.path()).filePath("tmp");
    if (tempIsAFile) {
        QFile file(temp);
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    const QByteArray savedTemp = qgetenv("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(temp));
    const bool firstStored = storeValue("DOS Files Path", "/opt/tools/");
    const bool secondStored = storeValue("Kind", "1");
    qputenv("TMPDIR", savedTemp);
    QVERIFY(firstStored);
    QVERIFY(secondStored);
    QCOMPARE(folder.rereadStore()->value("DOS Files Path").toString(), "/opt/tools/");
    QCOMPARE(folder.rereadStore()->value("Kind").toString(), "1");
}

void TestSettingsStore::danglingLinkIsWrittenThrough_data()
{
    QTest::addColumn<bool>("relative");
    QTest::addColumn<bool>("targetFolderExists");
    QTest::newRow("absolute target") << false << true;
    QTest::newRow("relative target") << true << true;
    QTest::newRow("target folder missing") << false << false;
}

void TestSettingsStore::danglingLinkIsWrittenThrough()
{
    QFETCH(bool, relative);
    QFETCH(bool, targetFolderExists);
    test::SettingsFolder folder;
    QVERIFY(!targetFolderExists || QDir(folder.path()).mkdir("elsewhere"));
    const QString target = QDir(folder.path()).filePath("elsewhere/Larkvale.ini");
    QVERIFY(QFile::link(relative ? QString("elsewhere/Larkvale.ini") : target, folder.storeFile()));
    {
        const std::unique_ptr<QSettings> store = openSettingsStore();
        QVERIFY(store->allKeys().isEmpty());
        store->setValue("DOS Files Path", "/opt/tools/");
        QVERIFY(commitSettingsStore(*store));
    }
    QVERIFY(storeValue("Kind", "1"));
    QVERIFY(QFileInfo(folder.storeFile()).isSymLink());
    QCOMPARE(QFileInfo(folder.storeFile()).symLinkTarget(), target);
    QSettings written(target, QSettings::IniFormat);
    QCOMPARE(written.value("Ferncastle/DOS Files Path").toString(), "/opt/tools/");
}

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
