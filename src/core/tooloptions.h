#pragma once

#include <QChar>
#include <QStringView>

namespace ferncastle {

// The options one tool accepts, spelled as the tool's own getopt() option
// string: a letter followed by ':' takes a value, attached (-t40) or as the
// next argument (-t 40); any other letter is a flag that may share one
// argument with others (-jv3 is -j, then -v with value 3).
struct ToolOptions {
    const char *tool;
    const char *optionString;

    bool accepts(QChar letter) const;
    bool takesValue(QChar letter) const;
};

// The options of cw2dmk, dmk2cw, dmk2jv3 or jv2dmk; null for any other name.
const ToolOptions *toolOptions(QStringView tool);

} // namespace ferncastle
