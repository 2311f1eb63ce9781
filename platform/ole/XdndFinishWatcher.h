#pragma once

// Platform-internal: the outcome of a drop into another program on X11.

#include "platform/Types.h"

#include <QAbstractNativeEventFilter>
#include <QEventLoop>

#include <cstdint>
#include <optional>

// On X11 Qt ends a drag as soon as the drop is sent, with the action the target last proposed,
// before the target has fetched the data or said whether it took it. The target's answer comes
// later, as an XdndFinished message; this watches for it, so that a source that moves data
// deletes it only once the other program really has it.
//
// Under Wayland there is nothing to watch: Qt's drag ends only once the target has said it is
// finished with the data (or the compositor has cancelled the drop), with the action the
// compositor settled on, so the drag's own result is already the target's word. There the
// watcher finds no X connection and stays inactive.
class XdndFinishWatcher : public QAbstractNativeEventFilter {
public:
    // Watches from now on; does nothing when the application does not run on X11.
    XdndFinishWatcher();
    ~XdndFinishWatcher() override;

    bool IsActive() const { return m_finishedAtom != 0; }

    // The effect the target reported, waiting (with the event loop running, so that the target
    // can fetch the data) at most `timeoutMs`; none when the target refused the drop or did not
    // answer in time.
    DROPEFFECT WaitForOutcome(int timeoutMs);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    std::uint32_t m_finishedAtom = 0;
    std::uint32_t m_copyAtom = 0;
    std::uint32_t m_moveAtom = 0;
    std::optional<DROPEFFECT> m_outcome;
    QEventLoop m_loop;
};
