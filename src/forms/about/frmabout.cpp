#include "forms/about/frmabout.h"

#include "core/identity.h"
#include "ferncastleversion.h"
#include "forms/about/abouttext.h"
#include "forms/common/appicon.h"
#include "forms/common/dialogprompts.h"
#include "forms/common/formbutton.h"
#include "forms/common/formfont.h"
#include "forms/common/prompts.h"
#include "forms/common/twips.h"
#include "platform/sysinfo.h"

#include <QLabel>
#include <QPushButton>

namespace ferncastle {

namespace {

const QString programTitle = QLatin1String(identity::title);

QLabel *label(QWidget *parent, const char *name, QRect geometry, bool blackText)
{
    auto *l = new QLabel(parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setTextFormat(Qt::PlainText);
    if (blackText) {
        QPalette palette = l->palette();
        palette.setColor(QPalette::WindowText, Qt::black);
        l->setPalette(palette);
    }
    return l;
}

QWidget *line(QWidget *parent, const char *name, QRect geometry, QColor colour)
{
    auto *w = new QWidget(parent);
    w->setObjectName(QLatin1String(name));
    w->setGeometry(geometry);
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, colour);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
    return w;
}

QFont titleFont()
{
    QFont font = formFont();
    font.setPointSizeF(9.75);
    font.setBold(true);
    return font;
}

} // namespace

frmAbout::frmAbout(Prompts &prompts, SystemInformation &systemInformation, QWidget *owner)
    : QDialog(owner), m_prompts(prompts), m_systemInformation(systemInformation)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowIcon(appIcon());
    setFont(formFont());
    setModal(true);
    setFixedSize(twipsSize(5730, 3780));
    createControls();
    createSeparator();
    createButtons();
    connectSignals();
}

void frmAbout::createControls()
{
    picIcon = label(this, "picIcon", twipsRect(240, 240, 480, 480), false);
    picIcon->setPixmap(appIcon().pixmap(QSize(32, 32)));
    lblTitle = label(this, "lblTitle", twipsRect(1050, 240, 3885, 360), true);
    lblTitle->setFont(titleFont());
    lblVersion = label(this, "lblVersion", twipsRect(1050, 600, 3885, 225), false);
    // Wider than the title by 645 twips, out to the OK button's right edge:
    // the longest description line needs about 263 pixels in the form font.
    lblDescription = label(this, "lblDescription", twipsRect(1050, 960, 4530, 1410), true);
    lblDisclaimer = label(this, "lblDisclaimer", twipsRect(255, 2625, 3870, 1065), true);
}

// Line1[1] runs from (90, 2445) to (5654, 2445) twips, one pixel of grey;
// Line1[0] from (105, 2460) to (5654, 2460), two pixels of white.
void frmAbout::createSeparator()
{
    const int right = twipsToPixels(5654);
    const int greyLeft = twipsToPixels(90);
    const int whiteLeft = twipsToPixels(105);
    Line1[1] = line(this, "Line1_1", QRect(greyLeft, twipsToPixels(2445), right - greyLeft, 1),
                    QColor(128, 128, 128));
    Line1[0] = line(this, "Line1_0", QRect(whiteLeft, twipsToPixels(2460), right - whiteLeft, 2),
                    Qt::white);
}

void frmAbout::createButtons()
{
    cmdOK = formButton(this, "cmdOK", "OK", twipsRect(4320, 2640, 1260, 345));
    cmdOK->setDefault(true);
    cmdSysInfo = formButton(this, "cmdSysInfo", "&System Info...", twipsRect(4320, 3240, 1245, 345));
    // Enter stays with OK even while System Info has the focus: formButton
    // makes neither button the default by focus.
    QWidget::setTabOrder(cmdOK, cmdSysInfo);
    cmdOK->setFocus();
}

void frmAbout::connectSignals()
{
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
}

// Labels break lines at line feeds only, so the texts' lone carriage returns
// are turned into line feeds for display.
void frmAbout::Form_Load()
{
    setWindowTitle(QStringLiteral("About ") + programTitle);
    lblVersion->setText(about::versionText(version::versionMajor, version::versionMinor,
                                           version::versionRevision));
    lblTitle->setText(QStringLiteral("Larkvale - ") + programTitle);
    lblDescription->setText(displayText(about::descriptionText()));
    lblDisclaimer->setText(displayText(about::disclaimerText()));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (!m_systemInformation.start())
        m_prompts.showMessage(this, QMessageBox::NoIcon, programTitle,
                              QStringLiteral("System Information Is Unavailable At This Time"));
}

} // namespace ferncastle
