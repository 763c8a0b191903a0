#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace ferncastle {

// The filters the file dialogs offer, as "description|pattern|..." pairs.
namespace filters {
inline constexpr char diskImages[] = "Disk Image (*.DMK)|*.DMK|Disk Image (*.DSK)|*.DSK|All Files|*.*";
inline constexpr char dmkImages[] = "Disk Image (*.DMK)|*.DMK|All Files|*.*";
inline constexpr char dskImages[] = "Disk Image (*.DSK)|*.DSK|All Files|*.*";
inline constexpr char imageFiles[] = "Disk Images (*.DMK;*.DSK;*.JV3)|*.DMK;*.DSK;*.JV3|"
                                     "Disk Image (*.DMK)|*.DMK|Disk Image (*.DSK)|*.DSK|"
                                     "Disk Image (*.JV3)|*.JV3|All Files|*.*";
inline constexpr char optionFiles[] = "Options Files (*.DAT)|*.DAT|All Files|*.*";
// What the tools prompt and Browse look for: the tools are .EXE files on
// Windows only; elsewhere they are named without an extension.
#ifdef Q_OS_WIN
inline constexpr char toolFiles[] = "Executable Files (*.EXE)|*.EXE|All Files|*.*";
#else
inline constexpr char toolFiles[] =
    "Disk Tools (cw2dmk, dmk2cw, dmk2jv3, jv2dmk)|cw2dmk;dmk2cw;dmk2jv3;jv2dmk|All Files|*.*";
#endif
} // namespace filters

// Turns a "description|pattern|description|pattern" filter into Qt name
// filters in the same order. Each Qt filter is the description followed by
// its patterns in parentheses, where every pattern matches whatever the case
// (*.DMK becomes *.[dD][mM][kK], because the GTK dialog matches case-
// sensitively) and "*.*" becomes "*", so that names without a dot show too.
// Shown with QFileDialog::HideNameFilterDetails, the user sees exactly the
// description. Empty when the pieces do not pair up.
std::optional<QStringList> toQtNameFilters(const QString &filter);

// "*.DMK" -> "*.[dD][mM][kK]"
QString caseInsensitivePattern(const QString &pattern);

} // namespace ferncastle
