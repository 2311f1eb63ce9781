#pragma once

// Platform-internal: what the first window waits for, made ready beside the opening of the
// display and the building of the window.

#include <condition_variable>
#include <mutex>
#include <thread>

// Before the window can show, fontconfig reads the desktop's font configuration (dozens of
// small files), Qt lists every font the desktop has, and Qt connects to the session bus, where
// it asks for a global menu bar and for the accessibility bus. Each of these is long. Two
// threads of their own start them early: the fonts' thread reads the configuration while the
// application object opens the display, and lists the fonts once that object exists, while the
// bus's thread connects. Qt serves the list and the bus to every thread under a lock of its
// own, and the window waits for the configuration before its first text, so it waits only for
// what is not ready when it asks.
class StartUpWarmUp {
public:
    StartUpWarmUp();
    // Waits for the threads.
    ~StartUpWarmUp();
    StartUpWarmUp(const StartUpWarmUp&) = delete;
    StartUpWarmUp& operator=(const StartUpWarmUp&) = delete;

    // The application object now exists: what needs it may start.
    void ApplicationMade();

    // Called by the window's thread before it first measures a text. fontconfig reads its
    // configuration afresh in every thread that asks while no reading has finished, so a first
    // text measured before the fonts' thread is done would read it all a second time, beside
    // the first; waiting costs less.
    static void AwaitFontConfiguration();

private:
    void RunFonts();

    static StartUpWarmUp* s_pRunning;

    std::mutex m_lock;
    std::condition_variable m_changed;
    bool m_bFontConfigurationRead = false;
    bool m_bApplicationMade = false;
    bool m_bEnding = false;
    std::thread m_fonts;
    std::thread m_bus;
};
