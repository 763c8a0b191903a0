#pragma once

#include "core/cardcheck/cardfindings.h"
#include "core/options/optionset.h"
#include "core/tools/toolcommand.h"
#include "core/tools/toolrun.h"
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

namespace ferncastle {

class CommandPreview;
class ImageInfoWindow;
class OptionCheckBox;
class Prompts;
class SettingsStore;
class ToolLauncher;

// What the main window needs from the world outside it.
struct MoorfieldServices {
    Prompts &prompts;
    ToolLauncher &launcher;
    const SettingsStore &settings;
    // Ends the program once Exit has saved the options, without closing
    // any window. Empty: leave the application's event loop.
    std::function<void()> endProgram = {};
    // The card check before a read or write and behind "Check CatWeasel
    // Card", given the tools folder. Empty: this computer's own.
    std::function<CardCheckResult(const QString &toolsFolder)> cardCheck = {};
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

    void cmdRead_Click();
    void cmdWrite_Click();
    void cmdDMK_Click();
    void cmdJV3_Click();
    void cmdLoadSettings_Click();
    void cmdSaveSettings_Click();
    void mnuPreferences_Click();
    void mnuRunInTerminal_Click(bool checked);
    void mnuVerifyAfterWriting_Click(bool checked);
    void showVerifyNotice();
    void mnuAbout_Click();
    void mnuImageInfo_Click();
    void mnuCheckCard_Click();
    // In moorfieldpresets.cpp. The Presets submenu is filled each time it
    // opens, so presets saved meanwhile show.
    void fillPresetsMenu();
    void mnuSavePreset_Click();
    void ExitProgram();

    // Reads the image at path and opens an "Image Information" window on
    // it; a file that is no image gets a message instead. Returns the
    // window, or nullptr.
    ImageInfoWindow *openImageInformation(const QString &path);

    OptionSet currentOptions() const;
    // What a tool run is built from, as the window holds it now.
    RunInputs runInputs() const;
    // Sets the boxes first, then the values, both in group order, so that
    // every box's change re-applies the enabling rules as a click would.
    void applyOptions(const OptionSet &options);

    QString DosFilesPath;
    CommonDialog CommonDialog1;

    // A group's widgets, named as its row of optionGroups() names them
    // (ckbDrive, cboDrive, txtPort...). list() is null for a text group,
    // textBox() for a list group.
    OptionCheckBox *checkBox(GroupIndex group) const;
    QComboBox *list(GroupIndex group) const;
    QLineEdit *textBox(GroupIndex group) const;

    QGroupBox *fraOptions = nullptr;
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
    QMenu *mnuPresets = nullptr;
    QAction *mnuPreferences = nullptr;
    QAction *mnuRunInTerminal = nullptr;
    QAction *mnuVerifyAfterWriting = nullptr;
    QLabel *lblVerifyNotice = nullptr;
    QAction *mnuCheckCard = nullptr;
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
    bool askForToolsFolder();
    void SaveSettings();

    void connectPreview();
    void runToolAction(ToolActionId id);
    bool mayWriteToDisk(const QString &image);
    bool mayWriteOutput(const ToolCommand &command);
    bool startTool(const ToolCommand &command);
    // In moorfieldcardcheck.cpp.
    bool cardCheckAllows(const ToolRow &row, const QStringList &arguments);
    CardCheckResult checkCardNow() const;
    void showWarnings(const QStringList &warnings);
    QString userPresetsFolder() const;
    void loadUserPreset(const QString &file);

    struct GroupWidgets {
        OptionCheckBox *checkBox = nullptr;
        QWidget *value = nullptr; // a QComboBox or a QLineEdit, as the group's kind says
    };

    Prompts &m_prompts;
    ToolLauncher &m_launcher;
    const SettingsStore &m_settings;
    std::function<void()> m_endProgram;
    std::function<CardCheckResult(const QString &toolsFolder)> m_cardCheck;
    std::array<GroupWidgets, GroupCount> m_groups{};
    CommandPreview *m_preview = nullptr;
};

} // namespace ferncastle
