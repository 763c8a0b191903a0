#include "forms/main/optionfiledialog.h"

#include "core/filefilter.h"
#include "core/modmain.h"

namespace ferncastle {

bool chooseOptionFile(CommonDialog &dialog, FileRequest::Mode mode)
{
    dialog.FileName.clear();
    dialog.DefaultExt = QStringLiteral(".DAT");
    dialog.Filter = QLatin1String(filters::optionFiles);
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
