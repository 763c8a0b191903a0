#pragma once

#include "core/cardcheck/cardfindings.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTextBrowser;

namespace ferncastle {

class RootRightsFix;
class SettingsStore;
struct RootRightsOutcome;

// The full report of the card check, whatever its outcome: every finding
// with its fix, and the set-user-ID fix for the tools when they need it.
class CardCheckReport : public QDialog
{
    Q_OBJECT

public:
    using Check = std::function<CardCheckResult()>;

    CardCheckReport(Check check, const SettingsStore &settings, QWidget *parent);

    // Runs the check again and shows what it found.
    void refresh();

    QTextBrowser *txtReport = nullptr;
    QLabel *lblRootRightsPlan = nullptr; // what the button will do, and the commands by hand
    QPushButton *cmdGiveRootRights = nullptr;
    QLabel *lblFixOutcome = nullptr;
    QCheckBox *chkCheckBeforeRuns = nullptr;
    QPushButton *cmdClose = nullptr;

Q_SIGNALS:
    // The fix has finished and the check has been run again.
    void fixFinished();

private:
    void createControls();
    void showRootRightsPlan();
    void giveRootRights();
    void rootRightsGiven(const RootRightsOutcome &outcome);
    void storeCheckChoice(bool checkBeforeRuns);

    Check m_check;
    const SettingsStore &m_settings;
    CardCheckResult m_result;
    RootRightsFix *m_fix = nullptr;
};

} // namespace ferncastle
