#pragma once

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QStyle>

#include <initializer_list>

namespace ferncastle::test {

// The caption as drawn: single '&' access-key markers dropped, "&&" kept
// as one '&'.
inline QString drawnCaption(const QString &caption)
{
    QString drawn;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        drawn += caption[i];
    }
    return drawn;
}

// Why a label's or button's caption does not fit inside it in the widget's
// own font and style; empty when it fits.
inline QString captionMisfit(const QWidget *widget)
{
    const QFontMetrics metrics(widget->font());
    QSize room = widget->contentsRect().size();
    QString caption;
    if (auto *label = qobject_cast<const QLabel *>(widget)) {
        caption = label->text();
    } else if (auto *button = qobject_cast<const QPushButton *>(widget)) {
        caption = drawnCaption(button->text());
        const int margin = widget->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, widget);
        const int frame = widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, widget);
        room -= QSize(2 * margin, 2 * frame);
    }
    const QSize needed = metrics.boundingRect(QRect(QPoint(), room), Qt::AlignLeft | Qt::AlignTop,
                                              caption).size();
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return {};
    return QStringLiteral("%1 needs %2x%3, has %4x%5")
        .arg(widget->objectName())
        .arg(needed.width()).arg(needed.height()).arg(room.width()).arg(room.height());
}

// Why any of the controls' captions do not fit, one control a line; empty
// when all of them fit.
template<typename Widgets>
QString captionMisfits(const Widgets &controls)
{
    QStringList misfits;
    for (const QWidget *control : controls) {
        const QString misfit = captionMisfit(control);
        if (!misfit.isEmpty())
            misfits.append(misfit);
    }
    return misfits.join(u'\n');
}

inline QString captionMisfits(std::initializer_list<const QWidget *> controls)
{
    return captionMisfits<std::initializer_list<const QWidget *>>(controls);
}

} // namespace ferncastle::test
