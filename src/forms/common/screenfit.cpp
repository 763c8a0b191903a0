#include "forms/common/screenfit.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

#include <algorithm>

namespace ferncastle {

namespace {

QSize frameExtra(const QMainWindow &window)
{
    const QWindow *handle = window.windowHandle();
    if (!handle)
        return {};
    const QMargins margins = handle->frameMargins();
    return {margins.left() + margins.right(), margins.top() + margins.bottom()};
}

bool fitsItsScreen(const QMainWindow &window)
{
    const QScreen *screen = window.screen();
    if (!screen)
        return true;
    const QSize needed = window.sizeHint() + frameExtra(window);
    const QSize available = screen->availableGeometry().size();
    return needed.width() <= available.width() && needed.height() <= available.height();
}

void putInScrollArea(QMainWindow &window)
{
    const QSize full = window.sizeHint();
    const QSize available = window.screen()->availableGeometry().size() - frameExtra(window);
    auto *scroll = new QScrollArea;
    scroll->setObjectName(QStringLiteral("clientScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    window.layout()->setSizeConstraint(QLayout::SetDefaultConstraint);
    scroll->setWidget(window.takeCentralWidget());
    window.setCentralWidget(scroll);
    // Room for the scroll bars, so that at full size none is needed.
    const int bar = window.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    window.setMinimumSize(0, 0);
    window.setMaximumSize(full + QSize(bar, bar));
    // Wide enough for the vertical bar, so that only one direction scrolls.
    window.resize((full + QSize(bar, 0)).boundedTo(available));
}

class ScreenFit : public QObject
{
public:
    explicit ScreenFit(QMainWindow &window) : QObject(&window), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const bool check = event->type() == QEvent::Show || event->type() == QEvent::ScreenChangeInternal;
        if (watched == &m_window && check && !m_scrolling && !fitsItsScreen(m_window)) {
            m_scrolling = true;
            putInScrollArea(m_window);
        }
        return false;
    }

private:
    QMainWindow &m_window;
    bool m_scrolling = false;
};

// Frames are known only once the window manager has framed a window; a
// window about to be shown borrows its owner's.
QMargins frameMarginsOf(const QWidget &window, const QWidget *owner)
{
    for (const QWidget *widget : {&window, owner}) {
        const QWindow *handle = widget ? widget->windowHandle() : nullptr;
        if (handle && !handle->frameMargins().isNull())
            return handle->frameMargins();
    }
    return {};
}

QRect placedFrame(QSize frameSize, QPoint centre, const QRect &available)
{
    QRect frame(QPoint(), frameSize.boundedTo(available.size()));
    frame.moveCenter(centre);
    frame.moveLeft(std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
    frame.moveTop(std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
    return frame;
}

void placeOver(QWidget &window, const QWidget *owner)
{
    const QScreen *screen = owner ? owner->screen() : window.screen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    const QMargins margins = frameMarginsOf(window, owner);
    const QSize extra(margins.left() + margins.right(), margins.top() + margins.bottom());
    const QPoint centre = owner ? owner->frameGeometry().center() : available.center();
    const QRect frame = placedFrame(window.size() + extra, centre, available);
    window.resize((frame.size() - extra).expandedTo(window.minimumSize()));
    // A top-level widget's position is its frame's.
    window.move(frame.topLeft());
}

class OpenOver : public QObject
{
public:
    OpenOver(QWidget &window, const QWidget *owner) : QObject(&window), m_owner(owner) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Show && watched == parent()) {
            placeOver(*static_cast<QWidget *>(watched), m_owner.data());
            deleteLater();
            watched->removeEventFilter(this);
        }
        return false;
    }

private:
    QPointer<const QWidget> m_owner;
};

class GrowForTexts : public QObject
{
public:
    explicit GrowForTexts(QWidget &window) : QObject(&window), m_window(window) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == &m_window && event->type() == QEvent::LayoutRequest && m_window.layout()) {
            m_window.layout()->activate();
            const int needed = m_window.heightForWidth(m_window.width());
            const int most = m_window.screen() ? m_window.screen()->availableGeometry().height()
                                               : needed;
            if (needed > m_window.height())
                m_window.resize(m_window.width(), std::min(needed, most));
        }
        return false;
    }

private:
    QWidget &m_window;
};

} // namespace

void keepReachableOnSmallScreens(QMainWindow &window)
{
    window.installEventFilter(new ScreenFit(window));
}

void openOver(QWidget &window, const QWidget *owner)
{
    window.installEventFilter(new OpenOver(window, owner));
}

void growForWrappedTexts(QWidget &window)
{
    window.installEventFilter(new GrowForTexts(window));
}

} // namespace ferncastle
