#pragma once

#include <QDir>
#include <QString>

namespace ferncastle::modMain {

// The folder part of a path: everything up to and including the last
// separator, or the empty string when there is none. Only the given
// separator counts; on Windows '/' is an ordinary character here.
QString GetFilePath(const QString &path, QChar separator = QDir::separator());

} // namespace ferncastle::modMain
