#include "forms/main/filechoice.h"

#include "core/modmain.h"

namespace ferncastle {

bool chooseFile(CommonDialog &dialog, FileRequest::Mode mode, const char *defaultExt,
                const char *filter)
{
    dialog.FileName.clear();
    dialog.DefaultExt = QLatin1String(defaultExt);
    dialog.Filter = QLatin1String(filter);
    if (mode == FileRequest::Mode::Save)
        dialog.ShowSave();
    else
        dialog.ShowOpen();
    if (dialog.FileName.isEmpty())
        return false;
    dialog.InitDir = modMain::GetFilePath(dialog.FileName);
    return true;
}

} // namespace ferncastle
