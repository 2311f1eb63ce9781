#pragma once

// Platform-internal: what Qt serves for a data source.

#include "platform/ole/COleDataSource.h"

#include <QMimeData>

#include <memory>

// Fills `mime` with the source's blocks in the order they were offered: a registered format
// under its name, byte for byte; a CF_DIB block as a picture, which Qt serves as image/png,
// image/bmp and the other image types. A block that decodes to no picture is left out.
void FillMimeData(QMimeData& mime, const COleDataSource& source);

// Clipboard contents that own the data source they were made from. Qt deletes the clipboard's
// data when another owner takes the clipboard or the clipboard goes away; the source and its
// blocks go with it.
class SourceMimeData : public QMimeData {
    Q_OBJECT
public:
    explicit SourceMimeData(std::unique_ptr<COleDataSource> source);
    ~SourceMimeData() override;

    const COleDataSource& Source() const { return *m_source; }

private:
    std::unique_ptr<COleDataSource> m_source;
};
