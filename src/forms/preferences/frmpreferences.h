#pragma once

#include "forms/common/commondialog.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ferncastle {

class Prompts;
class SettingsStore;

// Views and changes the tools folder, "DOS Files Path" in the settings
// store. The dialog reads and writes the store only; its owner reads the
// folder back once the dialog has closed. No button is the default or the
// cancel button, so Enter and Esc do nothing here.
class frmPreferences : public QDialog
{
    Q_OBJECT

public:
    frmPreferences(Prompts &prompts, const SettingsStore &settings, QWidget *owner);

    // Fills the text box from the store; call it before showing the dialog.
    void Form_Load();

    void cmdBrowse_Click();
    void cmdApply_Click();
    void cmdClose_Click();

    QLabel *lblToolsPath = nullptr;
    QLineEdit *txtToolPath = nullptr;
    QPushButton *cmdApply = nullptr;
    QPushButton *cmdClose = nullptr;
    QPushButton *cmdBrowse = nullptr;
    CommonDialog CommonDialog1;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void createControls();
    void setTabOrder();
    void connectSignals();

    Prompts &m_prompts;
    const SettingsStore &m_settings;
};

} // namespace ferncastle
