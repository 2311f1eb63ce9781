#include "platform/ole/MimeFormat.h"

#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/PackedDib.h"

#include <QByteArray>
#include <QImage>
#include <QMimeData>
#include <QString>

#include <algorithm>

namespace {

const QString kQtImage = QStringLiteral("application/x-qt-image");

bool IsRasterImage(const QString& format) {
    return format == kQtImage || (format.startsWith(QLatin1String("image/")) &&
                                  !format.startsWith(QLatin1String("image/svg")));
}

} // namespace

bool FormatsOffer(const QStringList& formats, CLIPFORMAT cf) {
    if (cf == CF_DIB)
        return std::any_of(formats.begin(), formats.end(), IsRasterImage);
    const std::string name = ClipboardFormatName(cf);
    return !name.empty() && formats.contains(QString::fromStdString(name));
}

HGLOBAL GlobalDataFromMime(const QMimeData& mime, CLIPFORMAT cf) {
    if (cf == CF_DIB) {
        if (!mime.hasImage())
            return nullptr;
        // Qt's image readers refuse pictures above their allocation limit, so a hostile picture
        // cannot decide a huge allocation here either.
        return PackedDibFromImage(qvariant_cast<QImage>(mime.imageData()));
    }
    const std::string name = ClipboardFormatName(cf);
    if (name.empty())
        return nullptr;
    const QString format = QString::fromStdString(name);
    if (!mime.hasFormat(format))
        return nullptr;
    const QByteArray data = mime.data(format);
    if (std::size_t(data.size()) > kGlobalBlockMaxBytes)
        return nullptr;
    return GlobalAllocCopy(data.constData(), std::size_t(data.size()));
}
