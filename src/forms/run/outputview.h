#pragma once

#include "core/run/runanalysis.h"

#include <QPlainTextEdit>

namespace ferncastle {

// The tool's output as a terminal would show it: monospaced, read-only,
// stderr in red, the line still being written at the bottom. Lines are
// gathered and laid out together when paint() is called (on the window's
// short timer), never one by one as they arrive; the view keeps the newest
// keptLines lines and at most keptChars characters, and shows at most
// shownLineChars of any one line. The transcript keeps everything.
class OutputView : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int keptLines = 20000;
    // A few megabytes of text, and lines no window is wide enough for
    // shortened: laying out one very long line costs more than thousands
    // of short ones.
    static constexpr int keptChars = 2 * 1024 * 1024;
    static constexpr int shownLineChars = 2000;
    // At most this many lines are laid out per paint, which keeps a paint
    // well under the time a user notices.
    static constexpr int maxLinesPerPaint = 2500;

    explicit OutputView(QWidget *parent = nullptr);

    void addLines(const QList<ShownLine> &lines);
    void setOpenLine(const QString &text, OutputStream stream);
    // Lays out what arrived since the last call.
    void paint();
    bool hasPending() const { return !m_pending.isEmpty() || m_openChanged || m_skipped > 0; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The line as the view shows it; false when it is the rest of a line
    // already shortened.
    bool shorten(const ShownLine &line, QString &shown);
    void followEnd();
    void dropOldLines(QTextCursor &cursor);
    QTextCharFormat formatOf(OutputStream stream) const;

    QList<ShownLine> m_pending;
    QString m_openLine;
    OutputStream m_openStream = OutputStream::Stdout;
    bool m_openChanged = false;
    bool m_following = true;
    qsizetype m_skipped = 0;
    // A long line is being dropped until it ends, on this stream.
    bool m_droppingRest = false;
    OutputStream m_droppingStream = OutputStream::Stdout;
};

} // namespace ferncastle
