#include "core/tooloptions.h"

#include <QString>

#include <array>
#include <cstring>

namespace ferncastle {

namespace {

// Read from the tools' usage texts (version 4.10.1) and their getopt()
// calls. dmk2cw's -y is accepted and takes a value even in builds that
// ignore it.
constexpr std::array<ToolOptions, 4> table = {{
    {"cw2dmk", "d:v:u:R:M:C:p:k:m:T:t:s:e:w:x:X:S:a:jo:h:g:i:z:r:q:c:1:2:f:l:"},
    {"dmk2cw", "p:d:v:k:m:s:o:c:h:l:g:i:r:f:a:e:y:T:"},
    {"dmk2jv3", "v:"},
    {"jv2dmk", "v:j:k:i:w:l:"},
}};

// The letter's place in the option string, or null. ':' is never a letter:
// getopt() rejects it as an option.
const char *find(const char *optionString, QChar letter)
{
    if (letter == u':' || letter.unicode() == 0 || letter.unicode() > 0x7f)
        return nullptr;
    return std::strchr(optionString, char(letter.unicode()));
}

} // namespace

bool ToolOptions::accepts(QChar letter) const
{
    return find(optionString, letter) != nullptr;
}

bool ToolOptions::takesValue(QChar letter) const
{
    const char *at = find(optionString, letter);
    return at && at[1] == ':';
}

const ToolOptions *toolOptions(QStringView tool)
{
    for (const ToolOptions &options : table) {
        if (tool == QLatin1String(options.tool))
            return &options;
    }
    return nullptr;
}

} // namespace ferncastle
