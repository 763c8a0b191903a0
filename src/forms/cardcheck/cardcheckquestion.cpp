#include "forms/cardcheck/cardcheckquestion.h"

#include "core/identity.h"
#include "forms/cardcheck/findingtext.h"
#include "forms/common/screenfit.h"
#include "forms/common/textroom.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ferncastle {

CardCheckQuestion::CardCheckQuestion(const QString &tool, const CardQuestion &question, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("CardCheckQuestion"));
    setWindowTitle(QLatin1String(identity::title));
    auto *layout = new QVBoxLayout(this);

    auto *lblIntro = new QLabel(QStringLiteral("%1 will not reach the CatWeasel card:").arg(tool), this);
    lblIntro->setTextFormat(Qt::PlainText);
    lblIntro->setObjectName(QStringLiteral("lblIntro"));
    layout->addWidget(lblIntro);

    txtFindings = new QTextBrowser(this);
    txtFindings->setObjectName(QStringLiteral("txtFindings"));
    txtFindings->setAccessibleName(QStringLiteral("What will stop the tool"));
    txtFindings->setHtml(findingsHtml(question.stoppers));
    txtFindings->setMinimumSize(roomForText(*txtFindings, 64, 9));
    layout->addWidget(txtFindings);

    chkDontCheckAgain = new QCheckBox(QStringLiteral("Don't check again"), this);
    chkDontCheckAgain->setObjectName(QStringLiteral("chkDontCheckAgain"));
    layout->addWidget(chkDontCheckAgain);

    auto *buttons = new QDialogButtonBox(this);
    cmdStartAnyway = buttons->addButton(QStringLiteral("Start Anyway"), QDialogButtonBox::AcceptRole);
    cmdStartAnyway->setObjectName(QStringLiteral("cmdStartAnyway"));
    cmdCancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdStartAnyway->setAutoDefault(false);
    cmdCancel->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    cmdCancel->setFocus();
    openOver(*this, parent ? parent->window() : nullptr);
}

bool CardCheckQuestion::dontCheckAgain() const
{
    return chkDontCheckAgain->isChecked();
}

} // namespace ferncastle
