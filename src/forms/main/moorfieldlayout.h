#pragma once

#include "core/tools/tooltable.h"
#include "forms/common/twips.h"

#include <span>

class QPushButton;

namespace ferncastle {

class Moorfield;

// The client area under the menu bar, 5190 x 8625 twips.
constexpr QSize moorfieldClientSize{346, 575};

// A tool button of the main window: the action it runs, the member that
// holds it, its handler, and its place in its frame.
struct ToolButton {
    ToolActionId action;
    QPushButton *Moorfield::*button;
    void (Moorfield::*click)();
    const char *name;
    const char *caption;
    bool inConversionFrame; // fraJVOptions, else fraOptions
    int left;
    int top;
};

// The four tool buttons, in the order of ToolActionId.
std::span<const ToolButton> toolButtons();

} // namespace ferncastle
