#pragma once

#include <atomic>
#include <condition_variable>
#include <mutex>

// A gate between the user-interface thread and work on other threads that reads what the
// user-interface thread changes (the document, the view's members). The user-interface thread
// holds it whenever it runs, from the first event it handles until it next waits for events;
// another thread passes it for each short stretch of reading. Both never run program code at
// the same time, so no edit ever meets a reader halfway, however either is written; the other
// thread's work goes on only while the user-interface thread has nothing to do.
class CUiGate {
public:
    // The one gate. The first call, on the user-interface thread, has it hold the gate from
    // now on, letting go only while the event loop waits.
    static CUiGate& Get();

    // The user-interface thread takes the gate, waiting for a reader to leave: once before it
    // handles each event, and whenever it may have let go.
    void Hold();
    // It lets go while waiting for events.
    void Release();

    // Another thread: passes the gate, waiting while the user-interface thread holds it, or
    // returns false at once when the stop flag is (or becomes) set.
    bool Enter(const std::atomic<bool>& stop);
    void Leave();
    // Wakes the threads waiting at the gate, so that they see their stop flags.
    void WakeWaiting();

private:
    CUiGate() = default;
    void Install();

    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_bUiHolds = false;
    bool m_bUiWants = false;
    int m_nInside = 0;
    bool m_bInstalled = false;
};

// Passes the gate for the length of a scope.
class CUiGatePass {
public:
    CUiGatePass(CUiGate& gate, const std::atomic<bool>& stop)
        : m_gate(gate), m_bInside(gate.Enter(stop)) {}
    ~CUiGatePass() {
        if (m_bInside)
            m_gate.Leave();
    }
    CUiGatePass(const CUiGatePass&) = delete;
    CUiGatePass& operator=(const CUiGatePass&) = delete;
    explicit operator bool() const { return m_bInside; }

private:
    CUiGate& m_gate;
    bool m_bInside;
};
