#include "forms/common/commondialog.h"

namespace ferncastle {

CommonDialog::CommonDialog(Prompts &prompts, QWidget *owner, const QString &title)
    : m_prompts(prompts), m_owner(owner), m_title(title)
{
}

void CommonDialog::ShowOpen()
{
    show(FileRequest::Mode::Open);
}

void CommonDialog::ShowSave()
{
    show(FileRequest::Mode::Save);
}

void CommonDialog::show(FileRequest::Mode mode)
{
    FileRequest request;
    request.mode = mode;
    request.title = m_title;
    request.initialDir = InitDir;
    request.fileName = FileName;
    request.defaultExt = DefaultExt;
    request.filter = Filter;
    FileName = m_prompts.chooseFile(m_owner, request);
}

} // namespace ferncastle
