#pragma once

#include "forms/common/prompts.h"

#include <QString>

class QWidget;

namespace ferncastle {

// A form's file dialog, used the way the forms have always used it: set the
// members, show it, read FileName back. FileName is empty after Cancel.
// Members that a caller does not set keep what the last caller left.
class CommonDialog
{
public:
    CommonDialog(Prompts &prompts, QWidget *owner, const QString &title = {});

    QString FileName;
    QString DefaultExt;
    QString Filter;
    QString InitDir;

    void ShowOpen();
    void ShowSave();

    const QString &title() const { return m_title; }

private:
    void show(FileRequest::Mode mode);

    Prompts &m_prompts;
    QWidget *m_owner;
    QString m_title;
};

} // namespace ferncastle
