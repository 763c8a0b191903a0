#include "forms/common/onelinelabel.h"

#include <QPainter>
#include <QStyle>

namespace ferncastle {

namespace {

QString onOneLine(QString text)
{
    return text.replace(u'\n', QStringLiteral(" | "));
}

} // namespace

QSize OneLineLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return {fontMetrics().horizontalAdvance(onOneLine(text())) + margins.left() + margins.right(),
            fontMetrics().height() + margins.top() + margins.bottom()};
}

// Any width will do: the text is cut to fit.
QSize OneLineLabel::minimumSizeHint() const
{
    return {0, sizeHint().height()};
}

QString OneLineLabel::shownText() const
{
    return fontMetrics().elidedText(onOneLine(text()), Qt::ElideRight, contentsRect().width());
}

void OneLineLabel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), int(alignment()) | Qt::TextSingleLine, palette(),
                          isEnabled(), shownText(), foregroundRole());
}

} // namespace ferncastle
