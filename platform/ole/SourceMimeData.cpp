#include "platform/ole/SourceMimeData.h"

#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/PackedDib.h"

#include <QByteArray>
#include <QImage>
#include <QString>

void FillMimeData(QMimeData& mime, const COleDataSource& source) {
    for (const auto& cached : source.GetCachedBlocks()) {
        const void* bytes = GlobalLock(cached.block);
        const std::size_t size = GlobalSize(cached.block);
        if (cached.format == CF_DIB) {
            const QImage image = ImageFromPackedDib(bytes, size);
            if (!image.isNull())
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

SourceMimeData::SourceMimeData(std::unique_ptr<COleDataSource> source)
    : m_source(std::move(source)) {
    FillMimeData(*this, *m_source);
}

SourceMimeData::~SourceMimeData() = default;
