#pragma once

#include "core/cardcheck/cardverdict.h"

#include <QMessageBox>
#include <QString>

class QWidget;

namespace ferncastle {

// What a file dialog is asked to show.
struct FileRequest {
    enum class Mode { Open, Save };

    Mode mode = Mode::Open;
    QString title;      // empty: the platform's default title
    QString initialDir;
    QString fileName;
    QString defaultExt; // ".DMK"; added to a typed name that has none
    QString filter;     // "description|pattern|..." pairs
};

// The answer to the card check's question before a read or write.
struct CardCheckAnswer {
    bool startAnyway = false;
    bool dontCheckAgain = false;
};

// Every modal question the program asks. The real implementation shows Qt's
// message boxes and file dialogs; tests answer from a script.
class Prompts
{
public:
    virtual ~Prompts() = default;

    // A message box with an OK button only. Lines in text are separated by
    // a lone carriage return.
    virtual void showMessage(QWidget *parent, QMessageBox::Icon icon,
                             const QString &title, const QString &text) = 0;

    // A question with Yes and No buttons, No the default, so that Enter
    // never agrees to something that cannot be undone. True for Yes.
    virtual bool askYesNo(QWidget *parent, const QString &title, const QString &text) = 0;

    // A question with Continue and Stop buttons (the next disk of a box is
    // in the drive): true for Continue. Stop is the default and the escape.
    virtual bool askContinueOrStop(QWidget *parent, const QString &title, const QString &text)
    {
        return askYesNo(parent, title, text);
    }

    // The chosen file with the platform's own separators, or an empty string
    // when the user cancelled.
    virtual QString chooseFile(QWidget *parent, const FileRequest &request) = 0;

    // An existing folder, chosen starting from startDir, with the
    // platform's own separators; an empty string when the user cancelled.
    virtual QString chooseFolder(QWidget *parent, const QString &title,
                                 const QString &startDir) = 0;

    // The card check found what will stop tool: start it anyway? Cancel is
    // the default, and the user may turn the check off for good.
    virtual CardCheckAnswer askCardCheck(QWidget *parent, const QString &tool,
                                         const CardQuestion &question) = 0;
    // One line of text, asked with OK and Cancel. The text as typed, or an
    // empty string when the user cancelled.
    virtual QString askText(QWidget *parent, const QString &title, const QString &label) = 0;
};

} // namespace ferncastle
