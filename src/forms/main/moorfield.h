#pragma once

#include "core/optionset.h"
#include "core/toolcommand.h"
#include "forms/common/commondialog.h"

#include <QMainWindow>

#include <array>
#include <functional>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSettings;

namespace ferncastle {

class FrmImageInfo;
class OptionCheckBox;
class Prompts;
class ToolLauncher;

// What the main window needs from the world outside it.
struct MoorfieldServices {
    Prompts &prompts;
    ToolLauncher &launcher;
    // Ends the program once Exit has saved the options, without closing
    // any window. Empty: leave the application's event loop.
    std::function<void()> endProgram = {};
};

// The main window: the eight option groups, the tool buttons and the menus.
// It wires the widgets to the core and asks every question through Prompts.
class Moorfield : public QMainWindow
{
    Q_OBJECT

public:
    explicit Moorfield(const MoorfieldServices &services, QWidget *parent = nullptr);
    ~Moorfield() override;

    // Runs before the window is first shown. False when the program must
    // end without showing it.
    bool Form_Load();

    void UpdateOptionControls();
    QString BuildReadOptions();
    QString BuildWriteOptions();

    void cmdRead_Click();
    void cmdWrite_Click();
    void cmdDMK_Click();
    void cmdJV3_Click();
    void cmdLoadSettings_Click();
    void cmdSaveSettings_Click();
    void mnuPreferences_Click();
    void mnuAbout_Click();
    void mnuImageInfo_Click();
    void ExitProgram();

    // Reads the image at path and opens an "Image Information" window on
    // it; a file that is no image gets a message instead. Returns the
    // window, or nullptr.
    FrmImageInfo *openImageInformation(const QString &path);

    OptionSet currentOptions() const;
    // Sets the boxes first, then the values, both in group order, so that
    // every box's change re-applies the enabling rules as a click would.
    void applyOptions(const OptionSet &options);

    QString DosFilesPath;
    CommonDialog CommonDialog1;

    QGroupBox *fraOptions = nullptr;
    OptionCheckBox *ckbDrive = nullptr;
    QComboBox *cboDrive = nullptr;
    OptionCheckBox *ckbPort = nullptr;
    QLineEdit *txtPort = nullptr;
    OptionCheckBox *ckbKind = nullptr;
    QComboBox *cboKind = nullptr;
    OptionCheckBox *ckbSteps = nullptr;
    QComboBox *cboSteps = nullptr;
    OptionCheckBox *ckbTracks = nullptr;
    QLineEdit *txtTracks = nullptr;
    OptionCheckBox *ckbSides = nullptr;
    QComboBox *cboSides = nullptr;
    OptionCheckBox *ckbEncoding = nullptr;
    QComboBox *cboEncoding = nullptr;
    OptionCheckBox *ckbRetries = nullptr;
    QLineEdit *txtRetries = nullptr;
    QLabel *lblExtraParms = nullptr;
    QLineEdit *txtExtraParms = nullptr;
    QPushButton *cmdLoadSettings = nullptr;
    QPushButton *cmdSaveSettings = nullptr;
    QPushButton *cmdRead = nullptr;
    QPushButton *cmdWrite = nullptr;
    QGroupBox *fraJVOptions = nullptr;
    QLabel *lblOptionalParms = nullptr;
    QLineEdit *txtOptionalParms = nullptr;
    QPushButton *cmdJV3 = nullptr;
    QPushButton *cmdDMK = nullptr;
    QPushButton *cmdExit = nullptr;

    QMenu *mnuFile = nullptr;
    QAction *mnuImageInfo = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuOptions = nullptr;
    QAction *mnuLoadOptions = nullptr;
    QAction *mnuSaveOptions = nullptr;
    QAction *mnuPreferences = nullptr;
    QMenu *mnuHelp = nullptr;
    QAction *mnuAbout = nullptr;

protected:
    // A disk image dropped on the window opens its "Image Information".
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // Built in moorfieldlayout.cpp.
    void createControls();
    void createOptionGroups();
    void createButtons();
    void createMenus();
    void setTabOrder();

    void connectSignals();
    // In moorfieldsettings.cpp.
    bool LoadSettings();
    bool askForToolsFolder(QSettings &store);
    void storeToolsFolder(QSettings &store);
    void SaveSettings();

    void runCardAction(Tool tool, const QString &options, FileRequest::Mode mode);
    void runConversionAction(Tool tool, const char *defaultExt, const char *filter);
    void startTool(const ToolCommand &command);
    void showWarnings(const QStringList &warnings);

    Prompts &m_prompts;
    ToolLauncher &m_launcher;
    std::function<void()> m_endProgram;
    std::array<OptionCheckBox *, GroupCount> m_checkBoxes{};
    std::array<QWidget *, GroupCount> m_valueControls{};
};

} // namespace ferncastle
