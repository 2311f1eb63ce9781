#include "platform/ole/SourceMimeData.h"

#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/PackedDib.h"

#include <QBuffer>
#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <QImageWriter>
#include <QString>

void FillMimeData(QMimeData& mime, const COleDataSource& source, QImage* pPicture) {
    for (const auto& cached : source.GetCachedBlocks()) {
        const void* bytes = GlobalLock(cached.block);
        const std::size_t size = GlobalSize(cached.block);
        if (cached.format == CF_DIB) {
            const QImage image = ImageFromPackedDib(bytes, size);
            if (!image.isNull() && pPicture != nullptr)
                *pPicture = image;
            else if (!image.isNull())
                mime.setImageData(image);
        } else {
            const std::string name = ClipboardFormatName(cached.format);
            if (!name.empty())
                mime.setData(QString::fromStdString(name),
                             QByteArray(static_cast<const char*>(bytes), qsizetype(size)));
        }
        GlobalUnlock(cached.block);
    }
}

namespace {

// Whether the source offers data of its own under an image type beside its picture.
bool OffersImageTypeOfItsOwn(const COleDataSource& source) {
    for (const auto& cached : source.GetCachedBlocks()) {
        if (cached.format != CF_DIB && ClipboardFormatName(cached.format).starts_with("image/"))
            return true;
    }
    return false;
}

} // namespace

SourceMimeData::SourceMimeData(std::unique_ptr<COleDataSource> source)
    : m_source(std::move(source)) {
    const bool keepPicture = QGuiApplication::platformName().startsWith(QLatin1String("wayland")) &&
                             OffersImageTypeOfItsOwn(*m_source);
    FillMimeData(*this, *m_source, keepPicture ? &m_picture : nullptr);
    if (m_picture.isNull())
        return;
    // The types Qt offers for a picture, less those the source offers itself.
    const QStringList own = QMimeData::formats();
    for (const QByteArray& type : QImageWriter::supportedMimeTypes()) {
        const QString name = QString::fromLatin1(type);
        if (!own.contains(name))
            m_pictureTypes << name;
    }
}

QStringList SourceMimeData::formats() const {
    return QMimeData::formats() + m_pictureTypes;
}

QVariant SourceMimeData::retrieveData(const QString& mimeType, QMetaType type) const {
    if (m_picture.isNull() || !m_pictureTypes.contains(mimeType))
        return QMimeData::retrieveData(mimeType, type);
    const QList<QByteArray> encodings = QImageWriter::imageFormatsForMimeType(mimeType.toLatin1());
    if (encodings.isEmpty())
        return {};
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!m_picture.save(&buffer, encodings.constFirst().constData()))
        return {};
    return bytes;
}

SourceMimeData::~SourceMimeData() = default;
