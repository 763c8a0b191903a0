#include "core/modmain.h"

#include <QTest>

using namespace ferncastle;

class TestModMain : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void GetFilePath_data();
    void GetFilePath();
    void GetFilePathUsesPlatformSeparator();
};

void TestModMain::GetFilePath_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("expected");

    const std::tuple<const char *, char, const char *> rows[] = {
        {"C:\\DISKS\\GAME.DMK", '\\', "C:\\DISKS\\"},
        {"GAME.DMK", '\\', ""},
        {"", '\\', ""},
        {"C:\\", '\\', "C:\\"},
        {"C:/DISKS/GAME.DMK", '\\', ""},
        {"C:\\DISKS\\SUB\\", '\\', "C:\\DISKS\\SUB\\"},
        {"\\\\SERVER\\SHARE\\GAME.DMK", '\\', "\\\\SERVER\\SHARE\\"},
        {"/home/u/disks/game.dmk", '/', "/home/u/disks/"},
        {"/game", '/', "/"},
        {"game", '/', ""},
        {"", '/', ""},
        {"a\\b/c", '/', "a\\b/"},
        {"/home/u/my disks/sp\xc3\xa4t.dmk", '/', "/home/u/my disks/"},
    };
    for (const auto &[path, separator, expected] : rows) {
        QTest::addRow("'%c' %s", separator, path)
            << QString::fromUtf8(path) << QChar(QLatin1Char(separator)) << QString::fromUtf8(expected);
    }
}

void TestModMain::GetFilePath()
{
    QFETCH(QString, path);
    QFETCH(QChar, separator);
    QFETCH(QString, expected);
    QCOMPARE(modMain::GetFilePath(path, separator), expected);
}

void TestModMain::GetFilePathUsesPlatformSeparator()
{
    const QString folder = QDir::toNativeSeparators(QStringLiteral("/home/u/disks/"));
    QCOMPARE(modMain::GetFilePath(folder + u"game.dmk"), folder);
}

QTEST_APPLESS_MAIN(TestModMain)
#include "tst_modmain.moc"
