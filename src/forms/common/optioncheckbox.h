#pragma once

#include "core/options/checkvalue.h"

#include <QCheckBox>

namespace ferncastle {

// An option group's check box. Code may set the greyed state, but a click
// or Space only ever toggles between unticked and ticked.
class OptionCheckBox : public QCheckBox
{
    Q_OBJECT

public:
    using QCheckBox::QCheckBox;

    CheckValue value() const;
    void setValue(CheckValue value);

protected:
    void nextCheckState() override;
};

} // namespace ferncastle
