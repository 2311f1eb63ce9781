#include "platform/ole/GlobalMemory.h"

#include <cstdlib>
#include <cstring>
#include <new>

struct GlobalBlock {
    std::byte* data = nullptr;
    std::size_t size = 0;
    unsigned lockCount = 0;
};

HGLOBAL GlobalAlloc(UINT, std::size_t bytes) {
    if (bytes > kGlobalBlockMaxBytes)
        return nullptr;
    auto* block = new (std::nothrow) GlobalBlock;
    if (!block)
        return nullptr;
    // One byte at least, so that an empty block still locks to a real address; calloc leaves
    // large blocks untouched until they are written.
    block->data = static_cast<std::byte*>(std::calloc(bytes ? bytes : 1, 1));
    if (!block->data) {
        delete block;
        return nullptr;
    }
    block->size = bytes;
    return block;
}

void* GlobalLock(HGLOBAL hMem) {
    if (!hMem)
        return nullptr;
    ++hMem->lockCount;
    return hMem->data;
}

bool GlobalUnlock(HGLOBAL hMem) {
    if (!hMem || hMem->lockCount == 0)
        return false;
    --hMem->lockCount;
    return hMem->lockCount != 0;
}

HGLOBAL GlobalFree(HGLOBAL hMem) {
    if (!hMem)
        return nullptr;
    std::free(hMem->data);
    delete hMem;
    return nullptr;
}

std::size_t GlobalSize(HGLOBAL hMem) {
    return hMem ? hMem->size : 0;
}

HGLOBAL GlobalAllocCopy(const void* bytes, std::size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (!block)
        return nullptr;
    if (size)
        std::memcpy(GlobalLock(block), bytes, size);
    GlobalUnlock(block);
    return block;
}
