#pragma once

#include "forms/common/commondialog.h"

namespace ferncastle {

// Asks for an options file in the main window's file dialog. On a confirmed
// choice the dialog's start folder becomes the file's folder and the result
// is true; after Cancel nothing has changed and the result is false.
bool chooseOptionFile(CommonDialog &dialog, FileRequest::Mode mode);

} // namespace ferncastle
