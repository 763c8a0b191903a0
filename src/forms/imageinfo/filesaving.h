#pragma once

#include "core/dos/dosdirectory.h"

#include <QString>

class QWidget;

namespace ferncastle {

class Prompts;

// "Save Files...": copies files of a disk into a folder the user picks.
// A file already in that folder is replaced only when the user says so,
// one question per file; a damaged file is saved only after the user has
// agreed to a question listing its bad sectors; one that cannot be
// followed is not saved. Ends with one sentence saying what was saved and
// what was not, which it also returns (empty when the user cancelled).
QString saveDiskFiles(Prompts &prompts, QWidget *parent, const SectorSource &source,
                      const QList<DosFile> &files, const QString &startFolder);

} // namespace ferncastle
