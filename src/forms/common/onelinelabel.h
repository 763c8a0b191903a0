#pragma once

#include <QLabel>

namespace ferncastle {

// A label that always takes one line. A longer text is cut with an ellipsis
// where it is drawn, while text(), and so what a screen reader reads, stays
// whole; line breaks are drawn as " | ".
class OneLineLabel : public QLabel
{
    Q_OBJECT

public:
    using QLabel::QLabel;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // What is drawn at the label's present width.
    QString shownText() const;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace ferncastle
