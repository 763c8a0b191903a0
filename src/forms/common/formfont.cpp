#include "forms/common/formfont.h"

namespace ferncastle {

QFont formFont()
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8);
    return font;
}

} // namespace ferncastle
