#include "forms/cardcheck/cardcheckgate.h"
#include "forms/cardcheck/cardcheckreport.h"
#include "forms/main/moorfield.h"
#include "platform/cardcheck/cardcheck.h"

namespace ferncastle {

CardCheckResult Moorfield::checkCardNow() const
{
    if (m_cardCheck)
        return m_cardCheck(DosFilesPath);
    CardCheckSetup setup;
    setup.toolsFolder = DosFilesPath;
    return checkCard(setup);
}

// Only the tools that reach the card are checked, and before the file
// dialog, so the user learns what will stop the tool before choosing a name.
bool Moorfield::cardCheckAllows(const ToolRow &row, const QStringList &arguments)
{
    if (!row.drivesCard)
        return true;
    return cardCheckAllowsRun(this, m_prompts, m_settings, row, arguments,
                              [this] { return checkCardNow(); });
}

void Moorfield::mnuCheckCard_Click()
{
    CardCheckReport report([this] { return checkCardNow(); }, m_settings, this);
    report.exec();
}

} // namespace ferncastle
