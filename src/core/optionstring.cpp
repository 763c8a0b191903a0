#include "core/optionstring.h"

#include "core/numericrules.h"

namespace ferncastle {

namespace {

// Which card tool the string is for: reading a disk or writing one.
enum class CardDirection { Read, Write };

// The warning for a typed value that must not go on the command line, or an
// empty string when the value may be used.
QString rejection(const OptionGroup &group, const QString &text)
{
    if (!group.check.enabled)
        return {};
    if (!isPlainDecimal(text))
        return notNumberWarning(group);
    if (!group.check.hasRange)
        return {};
    const std::optional<qint16> value = roundedToInt16(text);
    if (!value || *value < group.check.minimum || *value > group.check.maximum)
        return QString::fromLatin1(group.check.rangeWarning);
    return {};
}

OptionString build(const OptionSet &options, CardDirection direction)
{
    OptionString result;
    const auto &groups = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        const OptionGroup &group = groups[i];
        const GroupState &state = options.groups[i];
        if ((direction == CardDirection::Write && !group.usedForWrite) || state.checkState != Ticked)
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

OptionString readOptionString(const OptionSet &options)
{
    return build(options, CardDirection::Read);
}

OptionString writeOptionString(const OptionSet &options)
{
    return build(options, CardDirection::Write);
}

} // namespace ferncastle
