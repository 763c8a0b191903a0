#pragma once

#include "forms/common/commondialog.h"

namespace ferncastle {

// Asks for a file in the main window's file dialog, the way every file
// choice of that window goes: empty file name, the given default extension
// and filter, the Open or Save form. On a confirmed choice the dialog's start
// folder becomes the file's folder and the result is true; after Cancel
// nothing else has changed and the result is false.
bool chooseFile(CommonDialog &dialog, FileRequest::Mode mode, const char *defaultExt,
                const char *filter);

} // namespace ferncastle
