#pragma once

// Platform-internal: what Qt serves for a data source.

#include "platform/ole/COleDataSource.h"

#include <QImage>
#include <QMimeData>
#include <QStringList>

#include <memory>

// Fills `mime` with the source's blocks in the order they were offered: a registered format
// under its name, byte for byte; a CF_DIB block as a picture, which Qt serves as image/png,
// image/bmp and the other image types. A block that decodes to no picture is left out. Given
// pPicture, the picture goes there instead, for the caller to serve.
void FillMimeData(QMimeData& mime, const COleDataSource& source, QImage* pPicture = nullptr);

// Clipboard contents that own the data source they were made from. Qt deletes the clipboard's
// data when another owner takes the clipboard or the clipboard goes away; the source and its
// blocks go with it.
class SourceMimeData : public QMimeData {
    Q_OBJECT
public:
    explicit SourceMimeData(std::unique_ptr<COleDataSource> source);
    ~SourceMimeData() override;

    const COleDataSource& Source() const { return *m_source; }

    QStringList formats() const override;

protected:
    QVariant retrieveData(const QString& mimeType, QMetaType type) const override;

private:
    std::unique_ptr<COleDataSource> m_source;
    // Under Wayland, Qt answers a request for any image/ type with the picture once it holds
    // one, even for a type offered as data of its own (image/svg+xml): there the picture is
    // kept here and encoded for each image type on request.
    QImage m_picture;
    QStringList m_pictureTypes;
};
