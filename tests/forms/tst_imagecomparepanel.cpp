// "Compare With..." in Image Information: the second image is asked for
// through Prompts, the differing sectors are listed and their tracks marked
// on the map, and a line chosen selects its track.

#include "core/imagewriter.h"
#include "fakes/scriptedprompts.h"
#include "support/samplefiles.h"

#include "core/image/imagereader.h"
#include "forms/imageinfo/imageinfowindow.h"
#include "forms/imageinfo/imagecomparepanel.h"
#include "forms/grid/trackgrid.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace ferncastle;
using namespace Qt::StringLiterals;
namespace iw = imagewriter;

class TestImageComparePanel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void comparesWithTheChosenImage_data();
    void comparesWithTheChosenImage();
    void cancelAndNonImage();

private:
    QTemporaryDir m_dir;
    QString m_shown;
};

namespace {

// Four tracks of three MFM sectors; spoiled: which tracks get a data CRC
// error in sector 2.
QByteArray image(const QList<int> &spoiled = {})
{
    return iw::dmk(4, 1, 0x1900, [spoiled](int t, int s) {
        QList<iw::Sector> sectors = iw::uniform(3, true, 1, 1)(t, s);
        sectors[1].badDataCrc = spoiled.contains(t);
        return sectors;
    });
}

} // namespace

void TestImageComparePanel::initTestCase()
{
    QVERIFY(m_dir.isValid());
    m_shown = test::writeSampleFile(m_dir, u"shown.dmk"_s, image());
}

void TestImageComparePanel::comparesWithTheChosenImage_data()
{
    QTest::addColumn<QByteArray>("other");
    QTest::addColumn<QList<QPoint>>("marked");
    QTest::addColumn<QString>("summary");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("equal") << image() << QList<QPoint>{}
                           << u"Equal: other.dmk holds the same 12 sectors as shown.dmk."_s
                           << QStringList{};
    QTest::newRow("two tracks with a CRC error")
        << image({1, 3}) << QList<QPoint>{{1, 0}, {3, 0}}
        << u"2 sectors differ from other.dmk (marked on the map); 10 are the same."_s
        << QStringList{u"Cylinder 1, side 0, sector 2: good CRC, data mark 0xFB in shown.dmk; "
                       "CRC error, data mark 0xFB in other.dmk."_s,
                       u"Cylinder 3, side 0, sector 2: good CRC, data mark 0xFB in shown.dmk; "
                       "CRC error, data mark 0xFB in other.dmk."_s};
    QTest::newRow("a track fewer") << image().left(16 + 3 * 0x1900) << QList<QPoint>{{3, 0}}
                                   << u"3 sectors differ from other.dmk (marked on the map); "
                                      "9 are the same."_s
                                   << QStringList{u"Cylinder 3, side 0, sector 1: only in shown.dmk."_s,
                                                  u"Cylinder 3, side 0, sector 2: only in shown.dmk."_s,
                                                  u"Cylinder 3, side 0, sector 3: only in shown.dmk."_s};
}

void TestImageComparePanel::comparesWithTheChosenImage()
{
    QFETCH(QByteArray, other);
    QFETCH(QList<QPoint>, marked);
    QFETCH(QString, summary);
    QFETCH(QStringList, lines);
    const QString otherPath = test::writeSampleFile(m_dir, u"other.dmk"_s, other);
    test::ScriptedPrompts prompts;
    prompts.answerFile(otherPath);
    ImageInfoWindow window;
    window.showImage(readDiskImageFile(m_shown), m_shown);
    window.offerComparison(prompts);
    QVERIFY(window.comparison);
    QVERIFY(!window.comparison->isVisibleTo(&window));

    window.comparison->cmdCompareWith->click();
    QCOMPARE(prompts.fileRequests.size(), 1);
    QCOMPARE(prompts.fileRequests[0].title, u"Compare With"_s);
    QVERIFY(prompts.messages.isEmpty());
    QCOMPARE(window.comparison->lblComparison->text(), summary);
    QCOMPARE(window.comparison->markedCells(), marked);
    QStringList listed;
    for (int i = 0; i < window.comparison->lstDifferences->count(); ++i)
        listed.append(window.comparison->lstDifferences->item(i)->text());
    QCOMPARE(listed, lines);
    if (!lines.isEmpty()) {
        window.comparison->lstDifferences->setCurrentRow(int(lines.size()) - 1);
        QCOMPARE(window.grid->selectedTrack(), marked.constLast().x());
    }
}

void TestImageComparePanel::cancelAndNonImage()
{
    test::ScriptedPrompts prompts;
    prompts.answerFile(QString()); // Cancel
    prompts.answerFile(m_dir.path()); // a folder
    ImageInfoWindow window;
    window.showImage(readDiskImageFile(m_shown), m_shown);
    window.offerComparison(prompts);
    window.comparison->cmdCompareWith->click();
    QVERIFY(prompts.messages.isEmpty());
    QVERIFY(!window.comparison->isVisibleTo(&window));
    window.comparison->cmdCompareWith->click();
    QCOMPARE(prompts.messages.size(), 1);
    QVERIFY(prompts.messages[0].text.endsWith(u"It is a folder."_s));
    QVERIFY(window.comparison->markedCells().isEmpty());
}

QTEST_MAIN(TestImageComparePanel)
#include "tst_imagecomparepanel.moc"
