#pragma once

#include "forms/common/prompts.h"

#include <QQueue>
#include <QStringList>

namespace ferncastle::test {

// Answers the program's questions from a script and records every question
// in the order it was asked.
class ScriptedPrompts : public Prompts
{
public:
    struct Message {
        QMessageBox::Icon icon;
        QString title;
        QString text;
    };

    // The next file dialog returns this name; an empty one is a Cancel.
    void answerFile(const QString &fileName) { m_fileAnswers.enqueue(fileName); }

    void showMessage(QWidget *, QMessageBox::Icon icon, const QString &title,
                     const QString &text) override
    {
        messages.append({icon, title, text});
        events.append(QStringLiteral("message: ") + text);
    }

    QString chooseFile(QWidget *, const FileRequest &request) override
    {
        fileRequests.append(request);
        events.append(QStringLiteral("file dialog"));
        return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
    }

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QStringList events; // messages and dialogs, in order

private:
    QQueue<QString> m_fileAnswers;
};

} // namespace ferncastle::test
