#include "core/cardverdict.h"

#include <QProcess>

#include <optional>

namespace ferncastle {

namespace {

constexpr int highestCardIndex = 0xF;
constexpr int lowestIsaPort = 0x220;
constexpr int highestIsaPort = 0x388;

// The value given to the single-letter option, joined ("-p0") or as the
// next argument ("-p 0"), the way getopt reads it. Every option of the card
// tools takes a value, so a bare "-x" consumes the argument after it.
std::optional<QString> optionValue(const QString &optionText, QChar letter)
{
    const QStringList arguments = QProcess::splitCommand(optionText);
    std::optional<QString> found;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument.size() < 2 || argument.at(0) != u'-' || argument == QLatin1String("--"))
            continue;
        const bool joined = argument.size() > 2;
        const QString value = joined ? argument.mid(2) : arguments.value(i + 1);
        if (!joined)
            ++i;
        if (argument.at(1) == letter)
            found = value; // the last one given wins, as in getopt loops
    }
    return found;
}

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

PortOption portOption(const QString &optionText)
{
    const std::optional<QString> text = optionValue(optionText, u'p');
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

bool replaysLog(const QString &optionText)
{
    return optionValue(optionText, u'R').has_value();
}

CardQuestion cardQuestionFor(const CardCheckResult &result, const QString &tool,
                             const QString &optionText)
{
    const bool cardTool = tool == QLatin1String("cw2dmk") || tool == QLatin1String("dmk2cw");
    if (!cardTool || !result.applies)
        return {};
    if (tool == QLatin1String("cw2dmk") && replaysLog(optionText))
        return {};
    const PortOption port = portOption(optionText);
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
