#pragma once

#include "core/run/runanalysis.h"

#include <QPlainTextEdit>

namespace ferncastle {

// The tool's output as a terminal would show it: monospaced, read-only,
// stderr in red, the line still being written at the bottom. Lines are
// gathered and laid out together when paint() is called (on the window's
// short timer), never one by one as they arrive; the view keeps the newest
// keptLines lines, the transcript keeps everything.
class OutputView : public QPlainTextEdit
{
    Q_OBJECT

public:
    static constexpr int keptLines = 20000;

    explicit OutputView(QWidget *parent = nullptr);

    void addLines(const QList<ShownLine> &lines);
    void setOpenLine(const QString &text, OutputStream stream);
    // Lays out what arrived since the last call.
    void paint();
    bool hasPending() const { return !m_pending.isEmpty() || m_openChanged; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void followEnd();
    QTextCharFormat formatOf(OutputStream stream) const;

    QList<ShownLine> m_pending;
    QString m_openLine;
    OutputStream m_openStream = OutputStream::Stdout;
    bool m_openChanged = false;
    bool m_following = true;
};

} // namespace ferncastle
