#include "core/cardcheck/cardverdict.h"

#include "core/options/typedparameters.h"

#include <optional>

namespace ferncastle {

namespace {

constexpr int highestCardIndex = 0xF;
constexpr int lowestIsaPort = 0x220;
constexpr int highestIsaPort = 0x388;

bool concernsTool(const CardFinding &finding, const QString &tool)
{
    return finding.tool.isEmpty() || finding.tool == tool;
}

// The tools fall back to an MK1 card at port 320 hex when the card that
// -p asks for is not on the PCI bus, so asking for a card that is not there
// ends as "none found" does.
std::optional<CardFinding> missingSelectedCard(const CardCheckResult &result, const PortOption &port)
{
    if (!result.cardsCheckable || port.kind != PortOption::Kind::CardIndex || result.cards.isEmpty()
        || port.value < result.cards.size())
        return std::nullopt;
    CardFinding finding;
    finding.topic = FindingTopic::Card;
    finding.severity = FindingSeverity::WillStop;
    const int found = int(result.cards.size());
    finding.sentence = QStringLiteral("The option -p %1 selects card number %2, but only %3 %4 found.")
                           .arg(QString::number(port.value, 16).toUpper())
                           .arg(port.value + 1)
                           .arg(found)
                           .arg(found == 1 ? QStringLiteral("card was") : QStringLiteral("cards were"));
    finding.fix = found == 1 ? QStringLiteral("Give -p 0, or leave -p out to use the one card.")
                             : QStringLiteral("Give a -p number from 0 to %1, or leave -p out to use "
                                              "the first card.").arg(QString::number(found - 1, 16).toUpper());
    return finding;
}

} // namespace

PortOption portOption(const QStringList &arguments, const ToolOptions &options)
{
    const std::optional<QString> text = optionValue(arguments, options, u'p');
    if (!text)
        return {};
    bool ok = false;
    const int value = text->trimmed().toInt(&ok, 16);
    if (!ok || value < 0)
        return {PortOption::Kind::Invalid, -1};
    if (value <= highestCardIndex)
        return {PortOption::Kind::CardIndex, value};
    if (value >= lowestIsaPort && value <= highestIsaPort)
        return {PortOption::Kind::IsaPort, value};
    return {PortOption::Kind::Invalid, value};
}

CardQuestion cardQuestionFor(const CardCheckResult &result, const ToolRow &row,
                             const QStringList &arguments)
{
    if (!row.drivesCard || !result.applies)
        return {};
    if (!row.replayOption.isNull() && optionValue(arguments, row.options, row.replayOption))
        return {};
    const PortOption port = portOption(arguments, row.options);
    const QString tool = QLatin1String(row.tool);
    if (port.kind == PortOption::Kind::IsaPort)
        return {};

    CardQuestion question;
    for (const CardFinding &finding : result.findings) {
        if (finding.severity == FindingSeverity::WillStop && concernsTool(finding, tool))
            question.stoppers.append(finding);
    }
    if (const auto missing = missingSelectedCard(result, port))
        question.stoppers.append(*missing);
    question.ask = !question.stoppers.isEmpty();
    return question;
}

} // namespace ferncastle
