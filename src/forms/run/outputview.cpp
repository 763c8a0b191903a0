#include "forms/run/outputview.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTimer>

namespace ferncastle {

namespace {

QString shortened(const QString &text)
{
    return text.left(OutputView::shownLineChars)
           + QStringLiteral(" \u2026 [line shortened here; the transcript has it whole]");
}

} // namespace

OutputView::OutputView(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setReadOnly(true);
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Not setMaximumBlockCount: it walks a cursor over every block it
    // drops, laying each one out first, which costs more than all the rest
    // of a flood. dropOldLines() cuts by position instead.
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Only the user decides whether the view follows the end: scrolling up
    // stops it, scrolling back to the end resumes it.
    QScrollBar *bar = verticalScrollBar();
    const auto userScrolled = [this, bar] {
        QTimer::singleShot(0, this, [this, bar] { m_following = bar->value() >= bar->maximum(); });
    };
    connect(bar, &QScrollBar::actionTriggered, this, userScrolled);
    connect(bar, &QScrollBar::sliderReleased, this, userScrolled);
}

void OutputView::addLines(const QList<ShownLine> &lines)
{
    for (const ShownLine &line : lines) {
        ShownLine shown{QString(), line.stream};
        if (!line.overwritten && shorten(line, shown.text))
            m_pending.append(shown);
    }
    // Lines that arrive faster than anyone can read are not laid out: the
    // newest of them are, and a note says how many were left out.
    if (m_pending.size() > maxLinesPerPaint) {
        m_skipped += m_pending.size() - maxLinesPerPaint;
        m_pending.remove(0, m_pending.size() - maxLinesPerPaint);
    }
}

// A line the decoder cut goes on in the next piece: the first piece is
// shown shortened, the rest up to the line's end is left to the transcript.
bool OutputView::shorten(const ShownLine &line, QString &shown)
{
    const bool rest = m_droppingRest && line.stream == m_droppingStream;
    if (rest) {
        m_droppingRest = line.cut;
        return false;
    }
    if (line.cut) {
        m_droppingRest = true;
        m_droppingStream = line.stream;
    }
    shown = line.cut || line.text.size() > shownLineChars ? shortened(line.text) : line.text;
    return true;
}

void OutputView::setOpenLine(const QString &text, OutputStream stream)
{
    if (text == m_openLine && stream == m_openStream)
        return;
    if (m_droppingRest && stream == m_droppingStream) {
        m_openLine.clear();
        m_openStream = stream;
        m_openChanged = true;
        return;
    }
    m_openLine = text.size() > shownLineChars ? shortened(text) : text;
    m_openStream = stream;
    m_openChanged = true;
}

// The document's last block always holds the open line (or nothing):
// finished lines go in before it, then it is written anew.
void OutputView::paint()
{
    if (!hasPending())
        return;
    QTextCursor cursor(document());
    cursor.beginEditBlock();
    cursor.movePosition(QTextCursor::End);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    if (m_skipped > 0) {
        cursor.insertText(QStringLiteral("[%1 lines came too fast to show here; the transcript "
                                         "has every one]\n")
                              .arg(m_skipped),
                          formatOf(OutputStream::Stdout));
        m_skipped = 0;
    }
    qsizetype from = 0;
    while (from < m_pending.size()) {
        const OutputStream stream = m_pending.at(from).stream;
        QString run;
        qsizetype to = from;
        for (; to < m_pending.size() && m_pending.at(to).stream == stream; ++to)
            run += m_pending.at(to).text + u'\n';
        cursor.insertText(run, formatOf(stream));
        from = to;
    }
    cursor.insertText(m_openLine, formatOf(m_openStream));
    dropOldLines(cursor);
    cursor.endEditBlock();
    m_pending.clear();
    m_openChanged = false;
    // The scroll range catches up with the new lines only once the layout
    // has run, so a view that is following the end goes there after it.
    if (m_following)
        followEnd();
}

// A view made smaller (the verdict appearing below it) keeps its first
// line; one that follows the end keeps the end in sight instead.
void OutputView::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (m_following)
        followEnd();
}

void OutputView::followEnd()
{
    QTimer::singleShot(0, this, [this] {
        verticalScrollBar()->setValue(verticalScrollBar()->maximum());
    });
}

// Whole lines from the top, until both the line and the character bounds
// hold.
void OutputView::dropOldLines(QTextCursor &cursor)
{
    // One more block than lines: the last one holds the open line.
    const int excessLines = document()->blockCount() - 1 - keptLines;
    const int excessChars = document()->characterCount() - keptChars;
    if (excessLines <= 0 && excessChars <= 0)
        return;
    int cutAt = excessLines > 0 ? document()->findBlockByNumber(excessLines).position() : 0;
    if (excessChars > 0)
        cutAt = std::max(cutAt, document()->findBlock(excessChars).next().position());
    if (cutAt <= 0)
        return;
    cursor.setPosition(0);
    cursor.setPosition(cutAt, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

QTextCharFormat OutputView::formatOf(OutputStream stream) const
{
    QTextCharFormat format;
    format.setForeground(stream == OutputStream::Stderr ? QBrush(QColor(0xc0, 0x10, 0x10))
                                                        : palette().brush(QPalette::Text));
    return format;
}

} // namespace ferncastle
