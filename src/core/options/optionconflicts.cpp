#include "core/options/optionconflicts.h"

#include <QStringList>

#include <array>

namespace ferncastle {

namespace {

// cw2dmk checks replay (-R) only once every option is read, so the order
// does not matter there; the fine-tuning options are judged as they come,
// against the -k read so far.
constexpr std::array<ConflictRule, 4> rules = {{
    {"cw2dmk", ConflictKind::NotWith, 'R', "mTMdparx",
     "Replay (-R) mode does not support options -m, -T, -M, -d, -p, -a, -r, or -x"},
    {"cw2dmk", ConflictKind::Needs, 'R', "k", "Replay (-R) mode requires -k option"},
    {"cw2dmk", ConflictKind::NeedsEarlier, 'k', "c12fl", nullptr},
    {"dmk2cw", ConflictKind::NotWith, 'g', "i", "-g and -i cannot be used together"},
}};

// "-x (the ticked 'Number of retries')", or "-x" when it was typed.
QString described(QChar letter, const OptionSet *groups)
{
    const QString flag = u'-' + QString(letter);
    if (!groups)
        return flag;
    const auto &all = optionGroups();
    for (int i = 0; i < GroupCount; ++i) {
        if (QLatin1String(all[i].flag).back() == letter && groups->groups[i].checkState == Ticked)
            return flag + QStringLiteral(" (the ticked '%1')").arg(QLatin1String(all[i].caption));
    }
    return flag;
}

// "-k (or tick 'Drive kind')" when a group can give the flag.
QString groupHint(QChar letter, const OptionSet *groups)
{
    const QString flag = u'-' + QString(letter);
    if (!groups)
        return flag;
    for (const OptionGroup &group : optionGroups()) {
        if (QLatin1String(group.flag).back() == letter)
            return flag + QStringLiteral(" (or tick '%1')").arg(QLatin1String(group.caption));
    }
    return flag;
}

QString refusal(const ConflictRule &rule)
{
    if (!rule.toolMessage)
        return QStringLiteral("it stops and prints its usage text");
    return QStringLiteral("it stops with \"%1\"").arg(QLatin1String(rule.toolMessage));
}

// The letters of others met in given, in the order met; for NeedsEarlier
// only those with no option before them.
QStringList offending(const ConflictRule &rule, const QString &given, const OptionSet *groups)
{
    QStringList found;
    const qsizetype firstOption = given.indexOf(QLatin1Char(rule.option));
    for (qsizetype i = 0; i < given.size(); ++i) {
        const bool other = QLatin1String(rule.others).contains(given[i]);
        const bool early = firstOption < 0 || i < firstOption;
        const QString text = described(given[i], groups);
        if (other && (rule.kind != ConflictKind::NeedsEarlier || early) && !found.contains(text))
            found.append(text);
    }
    return found;
}

QString warning(const ConflictRule &rule, const QString &given, const OptionSet *groups)
{
    const QString tool = QLatin1String(rule.tool);
    const QString option = described(QLatin1Char(rule.option), groups);
    const QStringList others = offending(rule, given, groups);
    const bool hasOption = given.contains(QLatin1Char(rule.option));
    switch (rule.kind) {
    case ConflictKind::NotWith:
        if (!hasOption || others.isEmpty())
            return {};
        return QStringLiteral("%1 refuses %2 together with %3: %4. Take one of them off.")
            .arg(tool, option, others.join(QLatin1String(", ")), refusal(rule));
    case ConflictKind::Needs:
        if (!hasOption || !others.isEmpty())
            return {};
        return QStringLiteral("%1 refuses %2 without %3: %4. Add it.")
            .arg(tool, option, groupHint(QLatin1Char(rule.others[0]), groups), refusal(rule));
    case ConflictKind::NeedsEarlier:
        if (others.isEmpty())
            return {};
        return QStringLiteral("%1 refuses %2 unless -%3 comes before: %4. Give -%3 first.")
            .arg(tool, others.join(QLatin1String(", ")), QString(QLatin1Char(rule.option)), refusal(rule));
    }
    return {};
}

} // namespace

std::span<const ConflictRule> conflictRules()
{
    return rules;
}

QStringList checkOptionConflicts(const QString &tool, const QStringList &arguments,
                                 const OptionSet *groups)
{
    QStringList check;
    const ToolRow *row = toolNamed(tool);
    if (!row)
        return check;
    const QString given = readTypedArguments(arguments, row->options).options;
    for (const ConflictRule &rule : rules) {
        if (tool != QLatin1String(rule.tool))
            continue;
        const QString text = warning(rule, given, groups);
        if (!text.isEmpty())
            check.append(text);
    }
    return check;
}

} // namespace ferncastle
