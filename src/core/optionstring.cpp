#include "core/optionstring.h"

#include "core/numericrules.h"

namespace ferncastle {

namespace {

enum class Tool { Read, Write };

// The warning for a typed value that must not go on the command line, or an
// empty string when the value may be used.
QString rejection(const OptionGroup &group, const QString &text)
{
    if (!group.check.enabled)
        return {};
    if (!isNumber(text))
        return notNumberWarning(group);
    if (!group.check.hasRange)
        return {};
    const std::optional<qint16> value = toInt16(text);
    if (!value || *value < group.check.minimum || *value > group.check.maximum)
        return QString::fromLatin1(group.check.rangeWarning);
    return {};
}

OptionString build(const OptionSet &options, Tool tool)
{
    OptionString result;
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        const OptionGroup &group = groups[i];
        const GroupState &state = options.groups[i];
        if ((tool == Tool::Write && !group.usedForWrite) || state.checkState != Ticked)
            continue;
        if (group.kind == ValueKind::List) {
            result.text += QLatin1String(group.flag) + QString::number(state.listIndex + group.indexOffset);
            continue;
        }
        const QString warning = rejection(group, state.text);
        if (warning.isEmpty())
            result.text += QLatin1String(group.flag) + state.text;
        else
            result.warnings.append(warning);
    }
    result.text += u' ' + options.extraParms;
    return result;
}

} // namespace

OptionString buildReadOptions(const OptionSet &options)
{
    return build(options, Tool::Read);
}

OptionString buildWriteOptions(const OptionSet &options)
{
    return build(options, Tool::Write);
}

} // namespace ferncastle
