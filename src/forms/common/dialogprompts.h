#pragma once

#include "forms/common/prompts.h"

class QFileDialog;

namespace ferncastle {

// The real questions: Qt's message boxes and file dialogs, modal to their
// owner.
class DialogPrompts : public Prompts
{
public:
    void showMessage(QWidget *parent, QMessageBox::Icon icon,
                     const QString &title, const QString &text) override;
    bool askYesNo(QWidget *parent, const QString &title, const QString &text) override;
    bool askContinueOrStop(QWidget *parent, const QString &title, const QString &text) override;
    QString chooseFile(QWidget *parent, const FileRequest &request) override;
    QString chooseFolder(QWidget *parent, const QString &title, const QString &startDir) override;
    CardCheckAnswer askCardCheck(QWidget *parent, const QString &tool,
                                 const CardQuestion &question) override;
    QString askText(QWidget *parent, const QString &title, const QString &label) override;
};

// A file dialog set up as the request asks, not yet shown. Tests drive it
// by hand; chooseFile() runs it.
QFileDialog *createFileDialog(QWidget *parent, const FileRequest &request);

// The file the finished dialog returns: native separators, or empty when it
// was cancelled.
QString chosenFile(const QFileDialog &dialog);

// Message texts separate lines with a lone carriage return; Qt's labels
// break lines at line feeds only.
QString displayText(QString text);

} // namespace ferncastle
