#pragma once

#include <QApplication>
#include <QDeadlineTimer>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <functional>

namespace ferncastle::test {

// Runs action on the next modal window of type Dialog to show, other than
// notThis, from inside the event loop that the window's exec() runs. Gives
// up after five seconds so that a test waiting for a window that never
// comes fails rather than hangs.
template<typename Dialog>
void whenDialogShown(std::function<void(Dialog *)> action, const QWidget *notThis = nullptr)
{
    auto *timer = new QTimer(qApp);
    const QDeadlineTimer deadline(5000);
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        QWidget *modal = QApplication::activeModalWidget();
        auto *dialog = modal && modal != notThis && modal->isVisible()
                           ? qobject_cast<Dialog *>(modal)
                           : nullptr;
        if (!dialog && !deadline.hasExpired())
            return;
        timer->stop();
        timer->deleteLater();
        if (dialog)
            action(dialog);
    });
    timer->start(10);
}

// The same for a modal window of any type.
inline void whenModalShown(std::function<void(QWidget *)> action,
                           const QWidget *notThis = nullptr)
{
    whenDialogShown<QWidget>(std::move(action), notThis);
}

// What a real message box showed.
struct ShownMessage {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Reads the next message box that shows, other than notThis, and dismisses
// it with Enter; any other modal window is closed instead.
inline void readNextMessageBox(ShownMessage &shown, const QWidget *notThis = nullptr)
{
    whenModalShown([&shown](QWidget *modal) {
        auto *box = qobject_cast<QMessageBox *>(modal);
        if (!box) {
            modal->close();
            return;
        }
        shown = {box->windowTitle(), box->text(), box->icon()};
        QTest::keyClick(box, Qt::Key_Return);
    }, notThis);
}

} // namespace ferncastle::test
