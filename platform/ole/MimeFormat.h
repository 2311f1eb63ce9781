#pragma once

// Platform-internal: clipboard formats as Qt's MIME data sees them, shared by the clipboard and
// by the data of a drag.

#include "platform/Types.h"
#include "platform/ole/GlobalMemory.h"

#include <QStringList>

#include <cstddef>

class QMimeData;

// Whether MIME types listed by the clipboard or a drag offer the format: a registered format
// under its own name, CF_DIB as any raster picture.
bool FormatsOffer(const QStringList& formats, CLIPFORMAT cf);

// A new block, owned by the caller, with the format's data; null when the data is absent or
// larger than a global block may be.
HGLOBAL GlobalDataFromMime(const QMimeData& mime, CLIPFORMAT cf);
