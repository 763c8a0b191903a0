#include "core/displaytext.h"

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

QTEST_GUILESS_MAIN(TestDisplayText)
#include "tst_displaytext.moc"
