#include "forms/cardcheck/cardcheckgate.h"

#include "core/cardverdict.h"
#include "core/identity.h"
#include "forms/common/prompts.h"
#include "forms/cardcheck/cardcheckquestion.h"
#include "platform/cardchecksetting.h"

namespace ferncastle {

bool cardCheckAllowsRun(QWidget *parent, Prompts &prompts, const SettingsStore &settings,
                        const QString &tool, const QString &optionText,
                        const std::function<CardCheckResult()> &check)
{
    if (cardCheckSkipped(settings))
        return true;
    const CardQuestion question = cardQuestionFor(check(), tool, optionText);
    if (!question.ask)
        return true;
    CardCheckQuestion dialog(tool, question, parent);
    const bool start = dialog.exec() == QDialog::Accepted;
    if (dialog.dontCheckAgain() && !storeCardCheckSkipped(settings, true)) {
        prompts.showMessage(parent, QMessageBox::Warning, QLatin1String(identity::title),
                            QStringLiteral("\"Don't check again\" could not be saved in the "
                                           "settings, so the check will ask again next time."));
    }
    return start;
}

} // namespace ferncastle
