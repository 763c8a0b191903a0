#include "forms/common/screenfit.h"

#include <QEvent>
#include <QLayout>
#include <QMainWindow>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QWindow>

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

} // namespace

void keepReachableOnSmallScreens(QMainWindow &window)
{
    window.installEventFilter(new ScreenFit(window));
}

} // namespace ferncastle
