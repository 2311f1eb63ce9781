#include "platform/framework/CUiGate.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QObject>

namespace {

// Takes the gate before the user-interface thread handles any event: whatever woke it, it
// comes here before running code that may change what readers read.
class HoldBeforeEvents : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject*, QEvent*) override {
        CUiGate::Get().Hold();
        return false;
    }
};

} // namespace

CUiGate& CUiGate::Get() {
    static CUiGate* gate = new CUiGate;
    gate->Install();
    return *gate;
}

void CUiGate::Install() {
    if (m_bInstalled)
        return;
    QCoreApplication* app = QCoreApplication::instance();
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    if (app == nullptr || dispatcher == nullptr)
        return;
    m_bInstalled = true;
    Hold();
    app->installEventFilter(new HoldBeforeEvents(app));
    QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, app,
                     [this] { Release(); });
    QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, app, [this] { Hold(); });
}

void CUiGate::Hold() {
    std::unique_lock lock(m_lock);
    if (m_bUiHolds)
        return;
    // A reader that sees the user-interface thread waiting lets it in at its next stretch.
    m_bUiWants = true;
    m_changed.wait(lock, [this] { return m_nInside == 0; });
    m_bUiWants = false;
    m_bUiHolds = true;
}

void CUiGate::Release() {
    {
        std::lock_guard lock(m_lock);
        if (!m_bUiHolds)
            return;
        m_bUiHolds = false;
    }
    m_changed.notify_all();
}

bool CUiGate::Enter(const std::atomic<bool>& stop) {
    std::unique_lock lock(m_lock);
    m_changed.wait(lock, [&] { return stop.load() || (!m_bUiHolds && !m_bUiWants); });
    if (stop.load())
        return false;
    ++m_nInside;
    return true;
}

void CUiGate::Leave() {
    {
        std::lock_guard lock(m_lock);
        --m_nInside;
    }
    m_changed.notify_all();
}

void CUiGate::WakeWaiting() {
    // Taken and let go so that a thread between checking its flag and waiting sees the wake.
    { std::lock_guard lock(m_lock); }
    m_changed.notify_all();
}
