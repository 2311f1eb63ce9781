#include "platform/framework/CView.h"

#include "platform/framework/CUiGate.h"
#include "platform/framework/internal/IdleUpdate.h"
#include "platform/gdi/CDC.h"
#include "platform/gdi/RasterDevice.h"

#include <QCoreApplication>
#include <QImage>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <thread>
#include <utility>
#include <vector>

// The sharp picture of a zoom step, drawn as the layer of the new mapping away from the
// user-interface thread, in a band of rows for each hardware thread.
struct CView::SharpFrame {
    // The view that waits for it; cleared, on the user-interface thread, when it is given up.
    CView* view = nullptr;
    std::atomic<bool> stop{false};
    // How many stretches of the drawing have passed the gate.
    std::atomic<int> stretches{0};
    DeviceMapping mapping;
    // Written by the drawing thread only until it reports, read by the view only after.
    QImage image;
    bool drawn = false;
    std::thread thread;
};

CView::LayerDrawing CView::MakeLayerDrawing() {
    return {};
}

void CView::OnLayerDrawn() {}

namespace {

// One band of rows of the picture. The drawing passes in stretches of a few hundred curves
// before it lets the user-interface thread in: short enough that an event waits a fraction of a
// millisecond.
bool DrawBand(CUiGate& gate, QImage& image, const DeviceMapping& mapping, int top, int bottom,
              const CView::LayerDrawing& drawing, const std::atomic<bool>& stop,
              std::atomic<int>& stretches) {
    bool inside = gate.Enter(stop);
    if (!inside)
        return false;
    bool drawn = false;
    try {
        CDC dc;
        dc.AttachImageRows(&image, mapping, top, bottom);
        const auto keepGoing = [&] {
            ++stretches;
            gate.Leave();
            inside = gate.Enter(stop);
            return inside;
        };
        drawn = drawing(&dc, keepGoing) && inside;
    } catch (const std::exception&) {
        drawn = false;
    }
    if (inside)
        gate.Leave();
    return drawn;
}

// The picture in a band of rows for each drawing thread, all at once. Each band finds and draws
// the curves that reach its rows, so that turning curves into pixels is shared out as well as
// the pixels; a curve across two bands is drawn by both, each on its own rows.
void RunDrawing(CUiGate& gate, QImage& image, const DeviceMapping& mapping,
                const CView::LayerDrawing& drawing, const std::atomic<bool>& stop,
                std::atomic<int>& stretches, bool& drawn) {
    // Filling makes the pixels the image's own before the bands share them.
    image.fill(0xFFFFFFFFu);
    const int height = image.height();
    const std::int64_t bands =
        std::clamp<std::int64_t>(RasterDevice::DrawingThreads(), 1, std::max(1, height));
    std::atomic<bool> failed{false};
    RasterDevice::DrawInBands(bands, [&](std::int64_t band) {
        const int top = int(height * band / bands);
        const int bottom = int(height * (band + 1) / bands);
        if (!DrawBand(gate, image, mapping, top, bottom, drawing, stop, stretches))
            failed = true;
    });
    drawn = !failed;
}

} // namespace

bool CView::StartBackgroundDrawing() {
    CancelBackgroundDrawing();
    if (m_pWidget == nullptr || m_pImage == nullptr)
        return false;
    LayerDrawing drawing = MakeLayerDrawing();
    if (!drawing)
        return false;
    auto job = std::make_shared<SharpFrame>();
    job->view = this;
    job->mapping = GetDeviceMapping();
    // The layer's pixels are given up while a zoom step's picture is drawn: the drawing takes
    // their room, already mapped, rather than fault in a fresh image's every time.
    if (m_pLayer != nullptr && !IsLayerKept() && m_pLayer->size() == m_pImage->size() &&
        m_pLayer->format() == QImage::Format_RGB32)
        job->image.swap(*m_pLayer);
    else
        job->image = QImage(m_pImage->size(), QImage::Format_RGB32);
    if (job->image.isNull())
        return false;
    job->image.setDevicePixelRatio(m_pImage->devicePixelRatio());
    // The gate is held from here on by this thread whenever it runs.
    CUiGate& gate = CUiGate::Get();
    try {
        job->thread = std::thread([job, &gate, drawing = std::move(drawing)]() mutable {
            RunDrawing(gate, job->image, job->mapping, drawing, job->stop, job->stretches,
                       job->drawn);
            drawing = nullptr;
            // The view hears of it on its own thread; a job given up meanwhile is not its own.
            std::weak_ptr<SharpFrame> weak = job;
            job.reset();
            try {
                QMetaObject::invokeMethod(
                    QCoreApplication::instance(),
                    [weak] {
                        if (auto done = weak.lock(); done != nullptr && done->view != nullptr)
                            done->view->OnBackgroundDrawingDone(done);
                    },
                    Qt::QueuedConnection);
            } catch (const std::exception&) {
                // Without the memory to report, the scaled picture stays until the next
                // repaint of the window.
            }
        });
    } catch (const std::exception&) {
        return false;
    }
    m_pSharp = std::move(job);
    return true;
}

void CView::CancelBackgroundDrawing() {
    if (m_pSharp == nullptr)
        return;
    std::shared_ptr<SharpFrame> job = std::move(m_pSharp);
    job->view = nullptr;
    job->stop = true;
    CUiGate::Get().WakeWaiting();
    if (job->thread.joinable())
        job->thread.join();
    // The room goes back to the layer, which keeps nothing meanwhile.
    if (m_pLayer != nullptr && m_pLayer->isNull() && !IsLayerKept())
        m_pLayer->swap(job->image);
}

void CView::OnBackgroundDrawingDone(const std::shared_ptr<SharpFrame>& job) {
    if (job != m_pSharp)
        return;
    if (job->thread.joinable())
        job->thread.join();
    m_pSharp.reset();
    job->view = nullptr;
    // A picture drawn for another size or mapping than the window's now is of no use.
    const bool fits = job->drawn && !m_bRedrawPending && m_pImage != nullptr &&
                      job->image.size() == m_pImage->size() &&
                      job->image.devicePixelRatio() == m_pImage->devicePixelRatio() &&
                      job->mapping == GetDeviceMapping();
    if (!fits) {
        RedrawAll();
        return;
    }
    if (m_pLayer == nullptr)
        m_pLayer = new QImage;
    m_pLayer->swap(job->image);
    m_bLayerKept = true;
    ++m_nLayersMade;
    OnLayerDrawn();
    // The window is painted again from the layer it now has.
    m_bRedrawPending = true;
    m_invalidParts.clear();
    m_pWidget->update();
}

void CView::WaitForBackgroundDrawing() {
    // Waiting for events lets the drawing through the gate; its report is an event.
    while (m_pSharp != nullptr)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

bool CView::LetBackgroundDrawingRun(int stretches) {
    // A short timer wakes the event loop again and again while the drawing runs.
    while (m_pSharp != nullptr && m_pSharp->stretches.load() < stretches) {
        QTimer::singleShot(1, QCoreApplication::instance(), [] {});
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return m_pSharp != nullptr;
}

void CView::ScaleImage(const DeviceMapping& before, const DeviceMapping& after) {
    const int w = m_pImage->width();
    const int h = m_pImage->height();
    // The old picture is read from a copy in the layer's room, which the new mapping gives up.
    if (m_pLayer == nullptr || m_pLayer->size() != m_pImage->size())
        *(m_pLayer != nullptr ? m_pLayer : (m_pLayer = new QImage)) =
            QImage(m_pImage->size(), QImage::Format_RGB32);
    DropLayer();
    if (m_pLayer->isNull()) {
        m_bRedrawPending = true;
        return;
    }
    std::swap(m_pImage, m_pLayer);
    m_pImage->setDevicePixelRatio(m_pLayer->devicePixelRatio());
    const QImage& from = *m_pLayer;
    // The old pixel that showed the unit each new pixel shows, or -1 where none did.
    const auto source = [](std::int64_t pixel, int size) {
        return pixel >= 0 && pixel < size ? int(pixel) : -1;
    };
    std::vector<int> columns(static_cast<std::size_t>(w));
    for (int x = 0; x < w; ++x)
        columns[std::size_t(x)] = source(before.X(after.UnitX(x)), w);
    const std::ptrdiff_t fromStride = from.bytesPerLine() / 4;
    const std::ptrdiff_t toStride = m_pImage->bytesPerLine() / 4;
    const auto* fromBits = reinterpret_cast<const std::uint32_t*>(from.constBits());
    auto* toBits = reinterpret_cast<std::uint32_t*>(m_pImage->bits());
    int lastRow = -2;
    for (int y = 0; y < h; ++y) {
        const int row = source(before.Y(after.UnitY(y)), h);
        std::uint32_t* to = toBits + y * toStride;
        if (row == lastRow && y > 0) {
            // Zoomed in, rows repeat.
            std::memcpy(to, to - toStride, std::size_t(w) * sizeof(std::uint32_t));
            continue;
        }
        lastRow = row;
        if (row < 0) {
            std::fill(to, to + w, 0xFFFFFFFFu);
            continue;
        }
        const std::uint32_t* line = fromBits + row * fromStride;
        for (int x = 0; x < w; ++x) {
            const int column = columns[std::size_t(x)];
            to[x] = column >= 0 ? line[column] : 0xFFFFFFFFu;
        }
    }
}

void CView::ShowScaled(const DeviceMapping& before) {
    // The status bar follows the zoom, whatever changed it.
    AfxScheduleIdleUpdate();
    // A newer step gives up the drawing of the last one; its scaled picture is scaled again.
    CancelBackgroundDrawing();
    const bool shown = m_pWidget != nullptr && m_pImage != nullptr && !m_bRedrawPending &&
                       m_pImage->size() == QSize(ImagePixels(GetDeviceScale()).right,
                                                 ImagePixels(GetDeviceScale()).bottom) &&
                       m_pImage->devicePixelRatio() == GetDeviceScale().Ratio();
    if (!shown) {
        RedrawAll();
        return;
    }
    // Parts still to be repainted show as they were, scaled, until the sharp picture comes.
    m_invalidParts.clear();
    ScaleImage(before, GetDeviceMapping());
    if (m_bRedrawPending || !StartBackgroundDrawing()) {
        RedrawAll();
        return;
    }
    m_pWidget->update();
}
