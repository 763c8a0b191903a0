#include "forms/cardcheck/cardcheckgate.h"

#include "core/cardcheck/cardverdict.h"
#include "core/identity.h"
#include "forms/common/prompts.h"
#include "platform/cardcheck/cardchecksetting.h"

namespace ferncastle {

bool cardCheckAllowsRun(QWidget *parent, Prompts &prompts, const SettingsStore &settings,
                        const ToolRow &row, const QStringList &arguments,
                        const std::function<CardCheckResult()> &check)
{
    if (cardCheckSkipped(settings))
        return true;
    const CardQuestion question = cardQuestionFor(check(), row, arguments);
    if (!question.ask)
        return true;
    const CardCheckAnswer answer = prompts.askCardCheck(parent, QLatin1String(row.tool), question);
    if (answer.dontCheckAgain && !storeCardCheckSkipped(settings, true)) {
        prompts.showMessage(parent, QMessageBox::Warning, QLatin1String(identity::title),
                            QStringLiteral("\"Don't check again\" could not be saved in the "
                                           "settings, so the check will ask again next time."));
    }
    return answer.startAnyway;
}

} // namespace ferncastle
