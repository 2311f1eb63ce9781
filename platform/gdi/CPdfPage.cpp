#include "platform/gdi/CPdfPage.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

struct CPdfPage::Impl {
    QByteArray bytes;
    QBuffer buffer{&bytes};
    std::unique_ptr<QPdfWriter> writer;
    QPainter painter;
};

CPdfPage::CPdfPage() = default;

CPdfPage::~CPdfPage() {
    m_dc.DetachDevice();
    if (m_impl != nullptr && m_impl->painter.isActive())
        m_impl->painter.end();
}

bool CPdfPage::Begin(const CRect& area, const std::string& title, const std::string& creator) {
    m_dc.DetachDevice();
    m_impl.reset();
    const std::int64_t width = area.Width();
    const std::int64_t height = area.Height();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide)
        return false;

    auto impl = std::make_unique<Impl>();
    if (!impl->buffer.open(QIODevice::WriteOnly))
        return false;
    impl->writer = std::make_unique<QPdfWriter>(&impl->buffer);
    impl->writer->setTitle(QString::fromStdString(title));
    impl->writer->setCreator(QString::fromStdString(creator));
    // One unit a point: PDF pages measure whole points, so the page is then exactly the area.
    constexpr int kUnitsPerInch = 72;
    impl->writer->setResolution(kUnitsPerInch);
    const QPageSize pageSize(QSizeF(double(width), double(height)), QPageSize::Point, QString(),
                             QPageSize::ExactMatch);
    impl->writer->setPageLayout(
        QPageLayout(pageSize, QPageLayout::Portrait, QMarginsF(), QPageLayout::Point));
    if (!impl->painter.begin(impl->writer.get()))
        return false;
    // The drawing's coordinates: the area's top left is the page's.
    impl->painter.translate(-double(area.left), -double(area.top));
    m_impl = std::move(impl);
    m_dc.AttachPainter(&m_impl->painter);
    return true;
}

std::string CPdfPage::End() {
    m_dc.DetachDevice();
    if (m_impl == nullptr || !m_impl->painter.isActive())
        return {};
    const bool ended = m_impl->painter.end();
    std::string result;
    if (ended)
        result = m_impl->bytes.toStdString();
    m_impl.reset();
    return result;
}
