#pragma once

#include "core/cardcheck/cardfindings.h"
#include "core/tools/tooltable.h"

#include <functional>

class QWidget;

namespace ferncastle {

class Prompts;
class SettingsStore;

// Runs the card check before a read or write and, when something will
// certainly stop the tool, asks whether to start anyway. True when the run
// may go ahead: the user turned the check off, nothing needs asking, or
// the user chose "Start Anyway" (asked through prompts). A ticked "Don't check again" is stored
// whichever button was pressed; prompts says so when it cannot be.
bool cardCheckAllowsRun(QWidget *parent, Prompts &prompts, const SettingsStore &settings,
                        const ToolRow &row, const QStringList &arguments,
                        const std::function<CardCheckResult()> &check);

} // namespace ferncastle
