#include "forms/common/dialogprompts.h"

#include "forms/cardcheck/cardcheckquestion.h"

#include "core/filefilter.h"

#include <QDir>
#include <QFileInfo>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPushButton>

namespace ferncastle {

QString displayText(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(u'\r', u'\n');
}

void DialogPrompts::showMessage(QWidget *parent, QMessageBox::Icon icon,
                                const QString &title, const QString &text)
{
    QMessageBox box(icon, title, displayText(text), QMessageBox::Ok, parent);
    // Paths and tool output in the text are shown as they are.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString DialogPrompts::askText(QWidget *parent, const QString &title, const QString &label)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent, title, label, QLineEdit::Normal, QString(), &ok);
    return ok ? text : QString();
}

bool DialogPrompts::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, displayText(text),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool DialogPrompts::askContinueOrStop(QWidget *parent, const QString &title,
                                     const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, displayText(text), QMessageBox::NoButton, parent);
    QPushButton *carryOn = box.addButton(QStringLiteral("&Continue"), QMessageBox::AcceptRole);
    QPushButton *stop = box.addButton(QStringLiteral("&Stop"), QMessageBox::RejectRole);
    box.setDefaultButton(stop);
    box.setEscapeButton(stop);
    box.exec();
    return box.clickedButton() == carryOn;
}

namespace {

// QFileDialog adds the default suffix to every typed name without one. When
// opening, a file that exists under the name as typed is meant as it is:
// the tools have no extension on Linux, and "cw2dmk" must not become
// "cw2dmk.EXE". Only a name that does not exist gets the default extension.
class FileDialog : public QFileDialog
{
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        if (acceptMode() == AcceptOpen && !defaultSuffix().isEmpty()) {
            const QString suffix = defaultSuffix();
            setDefaultSuffix(QString());
            const QString typed = selectedFiles().value(0);
            if (!QFileInfo(typed).isFile())
                setDefaultSuffix(suffix);
        }
        QFileDialog::accept();
    }
};

} // namespace

// No folder's path is longer than the system allows (4096 bytes on Linux).
// A stored start folder beyond that is garbage, and the dialog took
// seconds over one of megabytes before it fell back to its default.
constexpr qsizetype longestPath = 4096;

QFileDialog *createFileDialog(QWidget *parent, const FileRequest &request)
{
    const QString startDir = request.initialDir.size() <= longestPath ? request.initialDir : QString();
    auto *dialog = new FileDialog(parent, request.title, startDir);
    const bool save = request.mode == FileRequest::Mode::Save;
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    const std::optional<QStringList> nameFilters = toQtNameFilters(request.filter);
    Q_ASSERT_X(nameFilters, "createFileDialog", "filter pieces must pair up");
    if (nameFilters)
        dialog->setNameFilters(*nameFilters);
    // QFileDialog wants the suffix without its dot.
    QString suffix = request.defaultExt;
    if (suffix.startsWith(u'.'))
        suffix.remove(0, 1);
    dialog->setDefaultSuffix(suffix);
    if (!request.fileName.isEmpty())
        dialog->selectFile(request.fileName);
    return dialog;
}

QString chosenFile(const QFileDialog &dialog)
{
    if (dialog.result() != QDialog::Accepted)
        return {};
    return QDir::toNativeSeparators(dialog.selectedFiles().value(0));
}

QString DialogPrompts::chooseFile(QWidget *parent, const FileRequest &request)
{
    QFileDialog *dialog = createFileDialog(parent, request);
    dialog->exec();
    const QString file = chosenFile(*dialog);
    delete dialog;
    return file;
}

QString DialogPrompts::chooseFolder(QWidget *parent, const QString &title,
                                    const QString &startDir)
{
    const QString start = startDir.size() <= longestPath ? startDir : QString();
    return QDir::toNativeSeparators(QFileDialog::getExistingDirectory(parent, title, start));
}

CardCheckAnswer DialogPrompts::askCardCheck(QWidget *parent, const QString &tool,
                                            const CardQuestion &question)
{
    CardCheckQuestion dialog(tool, question, parent);
    const bool start = dialog.exec() == QDialog::Accepted;
    return {start, dialog.dontCheckAgain()};
}

} // namespace ferncastle
