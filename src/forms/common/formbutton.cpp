#include "forms/common/formbutton.h"

#include <QPushButton>

namespace ferncastle {

QPushButton *formButton(QWidget *parent, const char *name, const char *caption, QRect geometry)
{
    auto *button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QLatin1String(name));
    button->setGeometry(geometry);
    button->setAutoDefault(false);
    return button;
}

} // namespace ferncastle
