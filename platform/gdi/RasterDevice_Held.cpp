#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/raster/BezierSampler.h"
#include "platform/gdi/raster/PixelOps.h"

#include <system_error>
#include <thread>
#include <vector>

// Curves of one colour drawn by a solid copying pen on a window's image are held back and drawn
// together when the device is flushed: the top and the bottom half of the image on two threads
// at once, each writing only its own rows.

using namespace raster;

namespace {

// The list of held segments is kept from one repaint to the next, so that a repaint does not
// grow a list of the drawing's size from nothing every time.
thread_local std::vector<HeldSegment> t_spareHeld;

// The most segments whose room is kept (8 MiB): a vast drawing's list goes back when it is drawn.
constexpr std::size_t kKeptHeldSegments = 256 * 1024;

// Fewer segments than this are drawn on the calling thread alone: starting a thread costs more.
constexpr std::size_t kSegmentsWorthAThread = 4096;

} // namespace

void RasterDevice::HoldBack() {
    m_bHolding = true;
    m_held.swap(t_spareHeld);
    m_held.clear();
}

RasterDevice::~RasterDevice() {
    if (!m_bHolding)
        return;
    Flush();
    if (m_held.capacity() <= kKeptHeldSegments)
        t_spareHeld.swap(m_held);
}

void RasterDevice::Flush() {
    if (m_held.empty())
        return;
    const auto drawRows = [this](int top, int bottom) {
        // The held segments are in pixels already.
        BezierSampler<CopyOp, false> sampler(PenOnImage(CopyOp{m_heldPixel}, PenPattern(), 0),
                                             DeviceMapping());
        sampler.SetRows(top, bottom);
        for (const HeldSegment& segment : m_held)
            sampler.Held(segment);
    };
    // Each half of the clip writes only its own rows, so the two never touch the same pixel.
    bool drawn = false;
    if (m_held.size() >= kSegmentsWorthAThread && m_clip.Height() >= 2 &&
        std::thread::hardware_concurrency() >= 2) {
        const int middle = m_clip.top + int(m_clip.Height() / 2);
        try {
            std::thread lower([&] { drawRows(middle, m_clip.bottom); });
            drawRows(m_clip.top, middle);
            lower.join();
            drawn = true;
        } catch (const std::system_error&) {
            // No thread could be started: the calling thread draws everything below.
        }
    }
    if (!drawn)
        drawRows(m_clip.top, m_clip.bottom);
    m_held.clear();
}
