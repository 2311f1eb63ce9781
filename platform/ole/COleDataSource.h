#pragma once

#include "platform/Types.h"
#include "platform/geometry/CRect.h"
#include "platform/ole/GlobalMemory.h"
#include "platform/ole/OleConstants.h"

#include <functional>
#include <vector>

// Data offered to the clipboard or to a drag, as global memory blocks under clipboard formats.
// The source owns every block offered to it and frees them when it is destroyed.
class COleDataSource {
public:
    struct CachedBlock {
        CLIPFORMAT format;
        HGLOBAL block;
    };

    COleDataSource() = default;
    COleDataSource(const COleDataSource&) = delete;
    COleDataSource& operator=(const COleDataSource&) = delete;
    virtual ~COleDataSource();

    // Offers the block under the format and takes ownership of it, also when this throws. A
    // second block for a format replaces the first. Formats keep the order they were offered in.
    void CacheGlobalData(CLIPFORMAT cf, HGLOBAL hGlobal, void* lpFormatEtc = nullptr);

    // Frees every block offered so far.
    void Empty();

    // Puts every offered format on the system clipboard at once, in the order offered. The
    // source must have been created with new: the clipboard owns it from now on and deletes it,
    // with its blocks, when the clipboard is replaced or lost, or at exit. Without a clipboard
    // (no AfxOleInit) it is deleted at once.
    void SetClipboard();

    // Waits for the pointer to travel the desktop's start distance (or the button to be held
    // for its start time) with a button down, then runs the drag with the allowed effects and
    // returns the effect the target chose. Returns DROPEFFECT_NONE when the button is released
    // or Escape pressed before the drag begins, and when the drop fails or is cancelled. The
    // start rectangle and drop source are not used: the desktop's defaults apply. Until it
    // returns, the user's keys and clicks reach none of the program's windows, so that only
    // drop targets' handlers run inside it; a second drag asked for meanwhile returns
    // DROPEFFECT_NONE at once.
    DROPEFFECT DoDragDrop(DROPEFFECT dwEffects = DROPEFFECT_COPY | DROPEFFECT_MOVE,
                          const CRect* lpRectStartDrag = nullptr, void* pDropSource = nullptr);

    // Test seam: while set, a drag runs this in place of the desktop's drag, with the user's
    // input held back as during a real one, and ends with the effect it returns.
    using DragHook = std::function<DROPEFFECT(const COleDataSource&)>;
    static void SetDragHook(DragHook hook);

    // The offered blocks in order; the platform reads them to build what Qt serves.
    const std::vector<CachedBlock>& GetCachedBlocks() const { return m_blocks; }
    HGLOBAL FindBlock(CLIPFORMAT cf) const;

private:
    std::vector<CachedBlock> m_blocks;
};
