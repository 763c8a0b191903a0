#pragma once

#include "core/options/optionset.h"

#include <QString>
#include <QStringList>

namespace ferncastle {

// An option string for cw2dmk or dmk2cw, and the warnings met while building
// it: the groups' in the order they were walked, then those about the
// additional parameters. stopsRun: the tool would misread those parameters
// (an open quote, a stray word it would take as its file), so nothing may
// be started.
struct OptionString {
    QString text;          // as the preview and the terminal show it
    QStringList arguments; // the same options as the tool receives them
    QStringList warnings;
    bool stopsRun = false;
};

// The cw2dmk options: all eight groups, then one blank and the additional
// parameters.
OptionString BuildReadOptions(const OptionSet &options);

// The dmk2cw options: drive, port, kind, steps and sides only; tracks,
// encoding and retries are neither written nor checked.
OptionString BuildWriteOptions(const OptionSet &options);

} // namespace ferncastle
