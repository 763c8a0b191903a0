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

    // The next yes/no question gets this answer; with none queued, No.
    void answerYesNo(bool yes) { m_yesNoAnswers.enqueue(yes); }

    bool askYesNo(QWidget *, const QString &title, const QString &text) override
    {
        messages.append({QMessageBox::Question, title, text});
        events.append(QStringLiteral("question: ") + text);
        return !m_yesNoAnswers.isEmpty() && m_yesNoAnswers.dequeue();
    }

    QString chooseFile(QWidget *, const FileRequest &request) override
    {
        fileRequests.append(request);
        events.append(QStringLiteral("file dialog"));
        return m_fileAnswers.isEmpty() ? QString() : m_fileAnswers.dequeue();
    }

    // The next folder dialog returns this folder; an empty one is a Cancel.
    void answerFolder(const QString &folder) { m_folderAnswers.enqueue(folder); }

    QString chooseFolder(QWidget *, const QString &title, const QString &) override
    {
        events.append(QStringLiteral("folder dialog: ") + title);
        return m_folderAnswers.isEmpty() ? QString() : m_folderAnswers.dequeue();
    }

    // The card check's next question gets this answer; with none queued,
    // Cancel. Each question is one "question" event.
    void answerCardCheck(CardCheckAnswer answer) { m_cardAnswers.enqueue(answer); }

    CardCheckAnswer askCardCheck(QWidget *, const QString &tool,
                                 const CardQuestion &question) override
    {
        cardQuestions.append({tool, question});
        events.append(QStringLiteral("question"));
        return m_cardAnswers.isEmpty() ? CardCheckAnswer{} : m_cardAnswers.dequeue();
    }

    struct AskedCardCheck {
        QString tool;
        CardQuestion question;
    };

    // The next text question gets this answer; with none queued, a Cancel.
    void answerText(const QString &text) { m_textAnswers.enqueue(text); }

    QString askText(QWidget *, const QString &title, const QString &label) override
    {
        messages.append({QMessageBox::Question, title, label});
        events.append(QStringLiteral("text: ") + label);
        return m_textAnswers.isEmpty() ? QString() : m_textAnswers.dequeue();
    }

    QList<Message> messages;
    QList<FileRequest> fileRequests;
    QList<AskedCardCheck> cardQuestions;
    QStringList events; // messages and dialogs, in order

private:
    QQueue<QString> m_fileAnswers;
    QQueue<bool> m_yesNoAnswers;
    QQueue<CardCheckAnswer> m_cardAnswers;
    QQueue<QString> m_textAnswers;
    QQueue<QString> m_folderAnswers;
};

} // namespace ferncastle::test
