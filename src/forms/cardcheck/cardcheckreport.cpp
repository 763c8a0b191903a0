#include "forms/cardcheck/cardcheckreport.h"

#include "forms/cardcheck/findingtext.h"
#include "forms/common/closekeys.h"
#include "forms/common/screenfit.h"
#include "forms/common/textroom.h"
#include "platform/cardcheck/cardcheck.h"
#include "platform/cardcheck/cardchecksetting.h"
#include "platform/cardcheck/rootrightsfix.h"
#include "platform/cardcheck/toolprivilege.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ferncastle {

namespace {

QLabel *wrappedLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

CardCheckReport::CardCheckReport(Check check, const SettingsStore &settings, QWidget *parent)
    : QDialog(parent), m_check(std::move(check)), m_settings(settings)
{
    setObjectName(QStringLiteral("CardCheckReport"));
    setWindowTitle(QStringLiteral("Check CatWeasel Card"));
    createControls();
    closeOnEscapeAndCtrlW(*this);
    openOver(*this, parent ? parent->window() : nullptr);
    growForWrappedTexts(*this);
    refresh();
}

void CardCheckReport::createControls()
{
    auto *layout = new QVBoxLayout(this);
    txtReport = new QTextBrowser(this);
    txtReport->setObjectName(QStringLiteral("txtReport"));
    txtReport->setAccessibleName(QStringLiteral("Card check report"));
    txtReport->setMinimumSize(roomForText(*txtReport, 72, 14));
    layout->addWidget(txtReport);

    lblRootRightsPlan = wrappedLabel(QStringLiteral("lblRootRightsPlan"), this);
    lblRootRightsPlan->setTextFormat(Qt::PlainText);
    layout->addWidget(lblRootRightsPlan);
    cmdGiveRootRights = new QPushButton(QStringLiteral("&Give the Tools Root Rights"), this);
    cmdGiveRootRights->setObjectName(QStringLiteral("cmdGiveRootRights"));
    cmdGiveRootRights->setAutoDefault(false);
    layout->addWidget(cmdGiveRootRights, 0, Qt::AlignLeft);
    lblFixOutcome = wrappedLabel(QStringLiteral("lblFixOutcome"), this);
    lblFixOutcome->setTextFormat(Qt::PlainText);
    lblFixOutcome->hide();
    layout->addWidget(lblFixOutcome);

    chkCheckBeforeRuns = new QCheckBox(QStringLiteral("Check before reading or writing a disk"), this);
    chkCheckBeforeRuns->setObjectName(QStringLiteral("chkCheckBeforeRuns"));
    chkCheckBeforeRuns->setChecked(!cardCheckSkipped(m_settings));
    layout->addWidget(chkCheckBeforeRuns);

    auto *buttons = new QDialogButtonBox(this);
    cmdClose = buttons->addButton(QStringLiteral("Close"), QDialogButtonBox::RejectRole);
    cmdClose->setObjectName(QStringLiteral("cmdClose"));
    cmdClose->setDefault(true);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(cmdGiveRootRights, &QPushButton::clicked, this, &CardCheckReport::giveRootRights);
    connect(chkCheckBeforeRuns, &QCheckBox::toggled, this, &CardCheckReport::storeCheckChoice);
}

void CardCheckReport::refresh()
{
    m_result = m_check();
    txtReport->setHtml(findingsHtml(findingsByConcern(m_result.findings)));
    showRootRightsPlan();
}

void CardCheckReport::showRootRightsPlan()
{
    const QStringList &files = m_result.filesNeedingRootRights;
    const bool needed = !files.isEmpty();
    lblRootRightsPlan->setVisible(needed);
    cmdGiveRootRights->setVisible(needed);
    if (!needed)
        return;
    const RootRightsFix plan(files);
    lblRootRightsPlan->setText(plan.description() + QStringLiteral("\n\nTo do it by hand, type in a terminal:\n")
                               + rootRightsCommands(files).join(u'\n'));
}

void CardCheckReport::giveRootRights()
{
    cmdGiveRootRights->setEnabled(false);
    lblFixOutcome->setText(QStringLiteral("Waiting for pkexec…"));
    lblFixOutcome->show();
    delete m_fix;
    m_fix = new RootRightsFix(m_result.filesNeedingRootRights, this);
    connect(m_fix, &RootRightsFix::finished, this, &CardCheckReport::rootRightsGiven);
    m_fix->start();
}

void CardCheckReport::rootRightsGiven(const RootRightsOutcome &outcome)
{
    const QStringList tried = m_result.filesNeedingRootRights;
    cmdGiveRootRights->setEnabled(true);
    refresh();
    QString text = outcome.message;
    // pkexec's status says the commands ran; only the files say they worked.
    QStringList unchanged;
    for (const QString &file : tried) {
        if (m_result.filesNeedingRootRights.contains(file))
            unchanged.append(file);
    }
    if (outcome.kind == RootRightsOutcome::Kind::Done && !unchanged.isEmpty()) {
        text = QStringLiteral("The commands reported success, but %1 still %2 not owned by root "
                              "with the set-user-ID bit.")
                   .arg(unchanged.join(QStringLiteral(" and ")),
                        unchanged.size() == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    }
    lblFixOutcome->setText(text + QStringLiteral(" The check has been run again; the report above "
                                                 "shows the result."));
    Q_EMIT fixFinished();
}

void CardCheckReport::storeCheckChoice(bool checkBeforeRuns)
{
    if (storeCardCheckSkipped(m_settings, !checkBeforeRuns))
        return;
    lblFixOutcome->setText(QStringLiteral("The choice could not be saved in the settings."));
    lblFixOutcome->show();
}

} // namespace ferncastle
