// A curve transfer record of any bytes, in a global block of exactly its size, decoded by the
// document's own CurveFromGlobal, as Paste and a drop decode what another program offers. A
// record that decodes must encode back to the same bytes, up to the size it states: the bytes
// of an incomplete last pair are ignored, and so is whatever follows the stated size. The same
// bytes are decoded as a record of several curves too.

#include "FuzzCheck.h"

#include "document/CSwoop2Doc.h"
#include "platform/ole/GlobalMemory.h"

#include <cstring>
#include <memory>
#include <vector>

namespace {

struct BlockDeleter {
    void operator()(GlobalBlock* h) const { GlobalFree(h); }
};
using Block = std::unique_ptr<GlobalBlock, BlockDeleter>;

std::uint32_t SizeField(const std::uint8_t* data) {
    return std::uint32_t(data[0]) | std::uint32_t(data[1]) << 8 | std::uint32_t(data[2]) << 16 |
           std::uint32_t(data[3]) << 24;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static CSwoop2Doc doc;

    Block block(GlobalAlloc(GMEM_MOVEABLE, size));
    if (!block) {
        // Only an empty request or one above the platform's cap may be turned down.
        FUZZ_CHECK(size > kGlobalBlockMaxBytes);
        return 0;
    }
    FUZZ_CHECK(GlobalSize(block.get()) == size);
    if (size != 0)
        std::memcpy(GlobalLock(block.get()), data, size);
    GlobalUnlock(block.get());

    const std::unique_ptr<CCurve> curve = doc.CurveFromGlobal(block.get());
    // The block stays the caller's, unchanged.
    FUZZ_CHECK(size == 0 || std::memcmp(GlobalLock(block.get()), data, size) == 0);
    GlobalUnlock(block.get());

    // The same bytes as a record of several curves: whatever decodes encodes back to the bytes
    // it came from, which the block holds.
    const std::vector<std::unique_ptr<CCurve>> curves = doc.CurvesFromGlobal(block.get());
    if (!curves.empty()) {
        std::vector<CCurve*> decoded;
        for (const auto& each : curves)
            decoded.push_back(each.get());
        Block several(doc.CurvesToGlobal(decoded));
        FUZZ_CHECK(several != nullptr && GlobalSize(several.get()) <= size);
        FUZZ_CHECK(std::memcmp(GlobalLock(several.get()), data, GlobalSize(several.get())) == 0);
        GlobalUnlock(several.get());
    }

    const bool consistent = size >= 4 && SizeField(data) >= 4 && SizeField(data) <= size;
    FUZZ_CHECK(bool(curve) == consistent);
    if (!curve)
        return 0;

    FUZZ_CHECK(curve->m_bClosed);
    const std::size_t count = (SizeField(data) - 4) / 8;
    FUZZ_CHECK(curve->m_points.size() == count);

    Block again(doc.CurveToGlobal(curve.get()));
    FUZZ_CHECK(again != nullptr);
    const std::size_t encoded = 4 + 8 * count;
    FUZZ_CHECK(GlobalSize(again.get()) == encoded);
    const auto* bytes = static_cast<const std::uint8_t*>(GlobalLock(again.get()));
    FUZZ_CHECK(SizeField(bytes) == encoded);
    FUZZ_CHECK(std::memcmp(bytes + 4, data + 4, encoded - 4) == 0);
    GlobalUnlock(again.get());
    return 0;
}
