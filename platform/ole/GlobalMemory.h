#pragma once

#include "platform/Types.h"

#include <cstddef>

// Movable global memory blocks: the containers in which data travels to and from the clipboard
// and drag and drop. A handle is opaque; the bytes are reached through GlobalLock. Whoever
// holds a handle owns the block until it hands it on (to a data source) or frees it.
struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

constexpr UINT GMEM_MOVEABLE = 0x0002;
constexpr UINT GMEM_ZEROINIT = 0x0040;

// The largest block handed out. Sizes come from other programs' data too, so no request may
// decide an allocation without this bound.
constexpr std::size_t kGlobalBlockMaxBytes = std::size_t(256) * 1024 * 1024;

// A new block of exactly `bytes` bytes, zero-filled; null when the size is above the cap or the
// memory cannot be had.
HGLOBAL GlobalAlloc(UINT flags, std::size_t bytes);

// The block's first byte (valid for GlobalSize bytes), null for a null handle. Locks nest.
void* GlobalLock(HGLOBAL hMem);

// Undoes one GlobalLock; true while the block is still locked afterwards.
bool GlobalUnlock(HGLOBAL hMem);

// Frees the block; returns null on success, the handle itself when it cannot be freed.
HGLOBAL GlobalFree(HGLOBAL hMem);

// The block's size in bytes, 0 for a null handle. Every reader bounds its reads by it.
std::size_t GlobalSize(HGLOBAL hMem);

// A new block holding a copy of the bytes; null when it cannot be had.
HGLOBAL GlobalAllocCopy(const void* bytes, std::size_t size);
