#pragma once

#include "core/batch/catalog.h"

#include <QDateTime>

namespace ferncastle {

class ToolJob;

// The catalog row of one finished read: the sectors are counted from the
// image the read wrote, not taken from the tool's report, and the image's
// sha256 lets a later copy be checked against it.
CatalogRow catalogRowFor(const ToolJob &job, const QDateTime &started);

// Adds the finished read to catalog.csv beside its image. Empty on success,
// otherwise why the catalog could not be written.
QString recordInCatalog(const ToolJob &job, const QDateTime &started);

} // namespace ferncastle
