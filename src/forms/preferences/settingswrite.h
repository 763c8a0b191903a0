#pragma once

#include <QMessageBox>
#include <QString>

class QSettings;
class QWidget;

namespace ferncastle {

class Prompts;
class SettingsStore;

// What a window tells the user when the settings store could not be
// written: the box's icon and title, and its text for the store's location.
struct FailedWriteMessage {
    QMessageBox::Icon icon;
    QString title;
    QString (*text)(const QString &location);
};

// Who is told, and how, when a write fails.
struct WriteFailureReport {
    Prompts &prompts;
    QWidget *parent;
    FailedWriteMessage message;
};

// Commits the store's changes; when they did not arrive, shows the message.
bool commitOrReport(QSettings &store, const WriteFailureReport &report);

// Stores the tools folder ("DOS Files Path") on its own and commits it at
// once, the one way every window changes it.
bool storeToolsFolder(const SettingsStore &settings, const QString &folder,
                      const WriteFailureReport &report);

} // namespace ferncastle
