#include "platform/ole/COleDataSource.h"

#include "platform/ole/ClipboardService.h"

#include <memory>

COleDataSource::~COleDataSource() {
    Empty();
}

void COleDataSource::CacheGlobalData(CLIPFORMAT cf, HGLOBAL hGlobal, void*) {
    if (!hGlobal)
        return;
    for (auto& cached : m_blocks) {
        if (cached.format == cf) {
            GlobalFree(cached.block);
            cached.block = hGlobal;
            return;
        }
    }
    try {
        m_blocks.push_back({cf, hGlobal});
    } catch (...) {
        GlobalFree(hGlobal);
        throw;
    }
}

void COleDataSource::Empty() {
    for (auto& cached : m_blocks)
        GlobalFree(cached.block);
    m_blocks.clear();
}

HGLOBAL COleDataSource::FindBlock(CLIPFORMAT cf) const {
    for (const auto& cached : m_blocks) {
        if (cached.format == cf)
            return cached.block;
    }
    return nullptr;
}

void COleDataSource::SetClipboard() {
    std::unique_ptr<COleDataSource> self(this);
    if (ClipboardService* service = ClipboardService::Instance())
        service->TakeOwnership(std::move(self));
}
