#include "core/run/runanalysis.h"
#include "forms/run/outputview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTextBlock>
#include <QTest>

using namespace ferncastle;

namespace {

// The bytes go in as a tool's chunks would, a paint after each.
void feed(RunAnalysis &analysis, OutputView &view, OutputStream stream, const QByteArray &bytes,
          qsizetype chunk = 64 * 1024)
{
    for (qsizetype from = 0; from < bytes.size(); from += chunk) {
        view.addLines(analysis.feed(stream, QByteArrayView(bytes).sliced(from, std::min(chunk, bytes.size() - from))));
        view.setOpenLine(analysis.openLine(stream), stream);
        view.paint();
    }
}

int longestLine(const OutputView &view)
{
    int longest = 0;
    for (QTextBlock block = view.document()->begin(); block.isValid(); block = block.next())
        longest = std::max(longest, int(block.length()));
    return longest;
}

} // namespace

class TestOutputView : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void viewMemoryHasABound_data();
    void viewMemoryHasABound();
    void otherStreamShowsWhileALongLineGoesOn();
};

void TestOutputView::viewMemoryHasABound_data()
{
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("shortened");

    QTest::newRow("20 MB and no line end") << QByteArray(20 * 1024 * 1024, 'x') << 1 << true;
    QTest::newRow("long lines") << QByteArray(30000, 'y') + '\n' << 400 << true;
    QTest::newRow("lines just short enough")
        << QByteArray(OutputView::shownLineChars, 'z') + '\n' << 3000 << false;
    QTest::newRow("escapes only, no line end")
        << QByteArray("\x1b[0m").repeated(2 * 1024 * 1024) << 1 << true;
}

// Whatever the tool writes, the view holds a few megabytes at most and
// no line longer than it shows; the whole lot takes seconds, not minutes.
void TestOutputView::viewMemoryHasABound()
{
    QFETCH(QByteArray, line);
    QFETCH(int, count);
    QFETCH(bool, shortened);
    RunAnalysis analysis(QStringLiteral("cw2dmk"));
    OutputView view;
    QElapsedTimer clock;
    clock.start();
    feed(analysis, view, OutputStream::Stdout, line.repeated(count));
    view.addLines(analysis.finish(RunEnd{}));
    view.setOpenLine(QString(), OutputStream::Stdout);
    view.paint();
    QVERIFY2(clock.elapsed() < 30000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(view.document()->characterCount() <= OutputView::keptChars + 2 * OutputView::shownLineChars);
    QVERIFY(longestLine(view) <= OutputView::shownLineChars + 100);
    QCOMPARE(view.toPlainText().contains(QStringLiteral("the transcript has it whole")), shortened);
}

// A line the tool never ends is shortened once; the lines of the other
// stream meanwhile are shown whole.
void TestOutputView::otherStreamShowsWhileALongLineGoesOn()
{
    RunAnalysis analysis(QStringLiteral("dmk2jv3"));
    OutputView view;
    for (int round = 0; round < 5; ++round) {
        feed(analysis, view, OutputStream::Stdout, QByteArray(100 * 1024, 'o'));
        feed(analysis, view, OutputStream::Stderr, "error " + QByteArray::number(round) + '\n');
    }
    feed(analysis, view, OutputStream::Stdout, "\nafter\n");
    const QString shown = view.toPlainText();
    QCOMPARE(shown.count(QStringLiteral("the transcript has it whole")), 1);
    for (int round = 0; round < 5; ++round)
        QVERIFY(shown.contains(QStringLiteral("error %1\n").arg(round)));
    QVERIFY(shown.contains(QStringLiteral("\nafter\n")));
}

QTEST_MAIN(TestOutputView)
#include "tst_outputview.moc"
