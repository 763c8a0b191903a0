#include "core/displaytext.h"
#include "core/nativename.h"

#include <QTest>

using namespace ferncastle;

class TestDisplayText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void shortTextIsUnchanged_data();
    void shortTextIsUnchanged();
    void longTextKeepsStartAndEnd_data();
    void longTextKeepsStartAndEnd();
    void surrogatePairsAreNotCut();
    void namesPrintOnOneLine_data();
    void namesPrintOnOneLine();
};

void TestDisplayText::shortTextIsUnchanged_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QString();
    QTest::newRow("a path") << QString("/opt/tools/cw2dmk");
    QTest::newRow("exactly the limit") << QString(DisplayTextLimit, u'a');
}

void TestDisplayText::shortTextIsUnchanged()
{
    QFETCH(QString, text);
    QCOMPARE(shortenedForDisplay(text), text);
}

void TestDisplayText::longTextKeepsStartAndEnd_data()
{
    QTest::addColumn<qsizetype>("length");
    QTest::newRow("one over the limit") << DisplayTextLimit + 1;
    QTest::newRow("10 MB") << qsizetype(10 * 1024 * 1024);
}

void TestDisplayText::longTextKeepsStartAndEnd()
{
    QFETCH(qsizetype, length);
    const QString text = "/start" + QString(length - 10, u'x') + "end/";
    const QString shown = shortenedForDisplay(text);
    QVERIFY(shown.size() <= DisplayTextLimit + 40);
    QVERIFY(shown.startsWith("/startxx"));
    QVERIFY(shown.contains(QStringLiteral("xxend/ [%1 characters]").arg(length)));
    QVERIFY(shown.contains(u'\u2026'));
}

void TestDisplayText::surrogatePairsAreNotCut()
{
    const QString clef = QString::fromUtf8("\xF0\x9D\x84\x9E"); // one character, two UTF-16 units
    QString text;
    while (text.size() < 4 * DisplayTextLimit)
        text += clef;
    const QString shown = shortenedForDisplay(text);
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (shown.at(i).isHighSurrogate())
            QVERIFY(i + 1 < shown.size() && shown.at(++i).isLowSurrogate());
        else
            QVERIFY(!shown.at(i).isLowSurrogate());
    }
}

void TestDisplayText::namesPrintOnOneLine_data()
{
    QTest::addColumn<QByteArray>("native");
    QTest::addColumn<QString>("escaped");

    QTest::newRow("plain") << QByteArray("game.dmk") << QStringLiteral("game.dmk");
    QTest::newRow("UTF-8 kept") << QByteArray("caf\xc3\xa9.dmk") << QString::fromUtf8("café.dmk");
    QTest::newRow("Latin-1 byte") << QByteArray("caf\xe9.dmk") << QStringLiteral("caf\\xe9.dmk");
    QTest::newRow("cut UTF-8 sequence") << QByteArray("a\xe2\x80") << QStringLiteral("a\\xe2\\x80");
    QTest::newRow("overlong encoding") << QByteArray("\xc0\xaf") << QStringLiteral("\\xc0\\xaf");
    QTest::newRow("escape sequence") << QByteArray("\x1b[2Jx") << QStringLiteral("\\x1b[2Jx");
    QTest::newRow("CR, LF, tab, DEL") << QByteArray("a\rb\nc\td\x7f")
                                      << QStringLiteral("a\\x0db\\x0ac\\x09d\\x7f");
    QTest::newRow("C1 control") << QByteArray("a\xc2\x9b" "2J") << QStringLiteral("a\\x9b2J");
    QTest::newRow("bidi override") << QByteArray("a\xe2\x80\xae" "b") << QStringLiteral("a\\u202eb");
    QTest::newRow("backslash") << QByteArray("a\\xe9") << QStringLiteral("a\\\\xe9");
}

// Any bytes a file name holds come back exactly from the decoded name,
// and print as one line of visible characters.
void TestDisplayText::namesPrintOnOneLine()
{
    QFETCH(QByteArray, native);
    QFETCH(QString, escaped);
    const QString name = decodedNativeName(native);
    QCOMPARE(encodedNativeName(name), native);
    QCOMPARE(escapedForTerminal(name), escaped);
}

QTEST_GUILESS_MAIN(TestDisplayText)
#include "tst_displaytext.moc"
