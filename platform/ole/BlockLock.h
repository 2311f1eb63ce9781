#pragma once

#include "platform/ole/GlobalMemory.h"

#include <cstddef>

// Holds a global block locked for a scope and unlocks it on every way out. Bytes() is null when
// the block could not be locked.
class BlockLock {
public:
    explicit BlockLock(HGLOBAL h) : m_h(h), m_p(static_cast<std::byte*>(GlobalLock(h))) {}
    BlockLock(const BlockLock&) = delete;
    BlockLock& operator=(const BlockLock&) = delete;
    ~BlockLock() {
        if (m_p)
            GlobalUnlock(m_h);
    }
    std::byte* Bytes() const { return m_p; }

private:
    HGLOBAL m_h;
    std::byte* m_p;
};
