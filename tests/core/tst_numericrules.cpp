#include "core/options/numericrules.h"

#include <QTest>

using namespace ferncastle;

class TestNumericRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void isPlainDecimal_data();
    void isPlainDecimal();
    void roundedToInt16_data();
    void roundedToInt16();
};

void TestNumericRules::isPlainDecimal_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");

    const std::pair<const char *, bool> rows[] = {
        {"0", true}, {"40", true}, {"007", true}, {"-1", true}, {"+5", true},
        {" 40", true}, {"40 ", true}, {"  - 5  ", true}, {"1.6", true},
        {".5", true}, {"5.", true}, {"-.5", true}, {"1E6", true}, {"1e6", true},
        {"1E+6", true}, {"1E-6", true}, {"2.5e-3", true}, {"1E99999", true},

        {"", false}, {" ", false}, {"abc", false}, {"12a", false}, {"a12", false},
        {"&H10", false}, {"0x10", false}, {"$5", false}, {"5$", false},
        {"1,000", false}, {"1 000", false}, {"2,5", false}, {"1e", false},
        {"1E+", false}, {"E5", false}, {".", false}, {"+", false}, {"-", false},
        {"+-5", false}, {"--5", false}, {"1.2.3", false}, {"1 E5", false},
        {"1E 5", false}, {"1E5.5", false}, {"5-", false}, {"\t5", false},
        {"\xd9\xa3", false}, // ARABIC-INDIC DIGIT THREE is not a decimal digit here
    };
    for (const auto &[text, expected] : rows)
        QTest::addRow("\"%s\"", text) << QString::fromUtf8(text) << expected;
}

void TestNumericRules::isPlainDecimal()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(ferncastle::isPlainDecimal(text), expected);
}

// The rounded value as text, or "out" when there is none.
QString rounded(QStringView text)
{
    const std::optional<qint16> value = roundedToInt16(text);
    return value ? QString::number(*value) : QStringLiteral("out");
}

void TestNumericRules::roundedToInt16_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");

    const std::pair<const char *, const char *> rows[] = {
        // Halves go to the even neighbour, everything else to the nearest.
        {"0.5", "0"}, {"1.5", "2"}, {"2.5", "2"}, {"3.5", "4"}, {"86.5", "86"},
        {"87.5", "88"}, {"1.6", "2"}, {"2.4", "2"}, {"-0.5", "0"}, {"-1.5", "-2"},
        {"-2.5", "-2"}, {"0.49", "0"}, {"0.51", "1"}, {" 40", "40"}, {"- 7", "-7"},
        {"-0", "0"}, {"0.0E5", "0"}, {"25E-1", "2"}, {"35E-1", "4"}, {"0.0865E3", "86"},
        // The 16-bit bounds.
        {"32767", "32767"}, {"32767.4", "32767"}, {"32767.5", "out"},
        {"-32768", "-32768"}, {"-32768.5", "-32768"}, {"-32768.6", "out"},
        {"32768", "out"}, {"-32769", "out"}, {"40000", "out"}, {"1E6", "out"},
        {"1E300", "out"}, {"-1E300", "out"}, {"1E99999", "out"},
        {"1E-99999", "0"}, {"-1E-99999", "0"}, {"1E-300", "0"},
        // Digits beyond a double's precision still round exactly.
        {"2.50000000000000000001", "3"}, {"1.49999999999999999999", "1"},
        {"86.50000000000000000001", "87"}, {"-0.50000000000000000001", "-1"},
        {"100.50000000000000000001", "101"}, {"32767.49999999999999999999", "32767"},
        // Not numbers.
        {"", "out"}, {"abc", "out"}, {"1,000", "out"}, {"2,5", "out"},
    };
    for (const auto &[text, expected] : rows)
        QTest::addRow("\"%s\"", text) << QString::fromLatin1(text) << QString::fromLatin1(expected);

    // Huge texts must neither overflow nor crawl.
    const QString zeros(100000, u'0');
    const QString nines(100000, u'9');
    QTest::newRow("leading zeros") << zeros + u"42" << QStringLiteral("42");
    QTest::newRow("many nines") << nines << QStringLiteral("out");
    QTest::newRow("shifted down") << u"1" + zeros + u"E-99998" << QStringLiteral("100");
    QTest::newRow("tiny fraction") << u"0." + zeros + u"9" << QStringLiteral("0");
    QTest::newRow("half, far digit") << u"2.5" + zeros + u"1" << QStringLiteral("3");
    QTest::newRow("shifted up") << u"0." + zeros + u"865E100002" << QStringLiteral("86");
    QTest::newRow("long exponent") << u"1E" + nines << QStringLiteral("out");
    QTest::newRow("long negative exponent") << u"1E-" + nines << QStringLiteral("0");
}

void TestNumericRules::roundedToInt16()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(rounded(text), expected);
}

QTEST_APPLESS_MAIN(TestNumericRules)
#include "tst_numericrules.moc"
