#pragma once

namespace ferncastle {

enum class ToolActionId { DiskToImage, ImageToDisk, DmkToJv, JvToDmk };

} // namespace ferncastle
