#include "forms/common/optioncheckbox.h"

namespace ferncastle {

CheckValue OptionCheckBox::value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return Ticked;
    case Qt::PartiallyChecked:
        return Greyed;
    case Qt::Unchecked:
        break;
    }
    return Unticked;
}

void OptionCheckBox::setValue(CheckValue value)
{
    switch (value) {
    case Ticked:
        setCheckState(Qt::Checked);
        return;
    case Greyed:
        setCheckState(Qt::PartiallyChecked); // makes the box tristate
        return;
    case Unticked:
        break;
    }
    setCheckState(Qt::Unchecked);
}

void OptionCheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

} // namespace ferncastle
