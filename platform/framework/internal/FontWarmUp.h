#pragma once

// Platform-internal: the desktop's fonts, made ready beside the main thread at start-up.

#include <condition_variable>
#include <mutex>
#include <thread>

// Before the first window can be measured, the desktop's font configuration (dozens of small
// files) must be read and Qt's database of its fonts built: the longest steps of the start, and
// neither needs the main thread. A thread of their own reads the configuration while the
// application object opens the display, then builds the database while the main thread builds
// the window. Qt's font database is thread-safe: the main thread, should it need a font first,
// waits for the thread's work instead of doing it again.
class FontWarmUp {
public:
    // Starts the thread on the configuration.
    FontWarmUp();
    // Waits for the thread; the application object must still exist.
    ~FontWarmUp();
    FontWarmUp(const FontWarmUp&) = delete;
    FontWarmUp& operator=(const FontWarmUp&) = delete;

    // The application object exists: the thread may build the font database.
    void ApplicationMade();

private:
    void Run();

    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_bApplicationMade = false;
    bool m_bEnding = false;
    std::thread m_thread;
};
