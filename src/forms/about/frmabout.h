#pragma once

#include <QDialog>

#include <array>

class QLabel;
class QPushButton;

namespace ferncastle {

class Prompts;
class SystemInformation;

// The program's title, version, credits and trademark disclaimer, with a
// button that starts the platform's system information program. OK is the
// default and the cancel button.
class frmAbout : public QDialog
{
    Q_OBJECT

public:
    frmAbout(Prompts &prompts, SystemInformation &systemInformation, QWidget *owner);

    // Fills the caption and the labels; call it before showing the dialog.
    void Form_Load();

    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Starts the system information program, or says that it is unavailable.
    // The dialog stays open either way.
    void StartSysInfo();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lblDescription = nullptr;
    std::array<QWidget *, 2> Line1{}; // [1] grey above [0] white: an etched line
    QLabel *lblDisclaimer = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;

private:
    void createControls();
    void createSeparator();
    void createButtons();
    void connectSignals();

    Prompts &m_prompts;
    SystemInformation &m_systemInformation;
};

} // namespace ferncastle
