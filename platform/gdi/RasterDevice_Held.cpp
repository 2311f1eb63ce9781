#include "platform/gdi/RasterDevice.h"

#include "platform/gdi/raster/BezierSampler.h"
#include "platform/gdi/raster/PixelOps.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

// Curves of one colour drawn by a solid copying pen on a window's image are held back and drawn
// together when the device is flushed: the image in as many bands of rows as the machine has
// hardware threads, each band on a thread of its own, writing only its own rows.

using namespace raster;

namespace {

// The list of held segments is kept from one repaint to the next, so that a repaint does not
// grow a list of the drawing's size from nothing every time. It is shared by every thread, so
// that a device on any thread finds it.
// Never destroyed, so that a device that outlives the program's statics still finds it.
std::mutex g_spareLock;
std::vector<HeldSegment>& SpareHeld() {
    static auto* spare = new std::vector<HeldSegment>;
    return *spare;
}

// The most segments whose room is kept (8 MiB): a vast drawing's list goes back when it is drawn.
constexpr std::size_t kKeptHeldSegments = 256 * 1024;

// Fewer segments than this are drawn on the calling thread alone: starting a thread costs more.
constexpr std::size_t kSegmentsWorthAThread = 4096;

std::atomic<unsigned> g_drawingThreads{0};

} // namespace

unsigned RasterDevice::DrawingThreads() {
    const unsigned threads = g_drawingThreads.load(std::memory_order_relaxed);
    return threads != 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
}

void RasterDevice::SetDrawingThreads(unsigned threads) {
    g_drawingThreads.store(threads, std::memory_order_relaxed);
}

void RasterDevice::HoldBack() {
    // A single thread would draw what is held just as it draws it now, only later.
    if (DrawingThreads() < 2)
        return;
    m_bHolding = true;
    {
        const std::lock_guard lock(g_spareLock);
        m_held.swap(SpareHeld());
    }
    m_held.clear();
}

RasterDevice::~RasterDevice() {
    if (!m_bHolding)
        return;
    Flush();
    if (m_held.capacity() > kKeptHeldSegments)
        return;
    // Of two lists, the longer is kept.
    const std::lock_guard lock(g_spareLock);
    if (m_held.capacity() > SpareHeld().capacity())
        SpareHeld().swap(m_held);
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
    const std::int64_t bands = Bands(m_held.size(), kSegmentsWorthAThread);
    DrawInBands(bands, [&](std::int64_t band) {
        drawRows(int(BandTop(band, bands)), int(BandTop(band + 1, bands)));
    });
    m_held.clear();
}

std::int64_t RasterDevice::Bands(std::size_t items, std::size_t itemsWorthAThread) const {
    return std::int64_t(
        std::clamp<std::size_t>(std::min<std::size_t>(DrawingThreads(), items / itemsWorthAThread),
                                1, std::size_t(std::max<std::int64_t>(1, m_clip.Height()))));
}

void RasterDevice::DrawInBands(std::int64_t bands, const std::function<void(std::int64_t)>& draw) {
    std::vector<std::thread> others;
    std::int64_t started = 1;
    try {
        others.reserve(std::size_t(bands - 1));
        for (std::int64_t band = 1; band < bands; ++band) {
            others.emplace_back(draw, band);
            started = band + 1;
        }
    } catch (const std::exception&) {
        // Bands whose threads could not be started are drawn below.
    }
    draw(0);
    for (std::thread& other : others)
        other.join();
    for (std::int64_t band = started; band < bands; ++band)
        draw(band);
}
