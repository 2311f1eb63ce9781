#pragma once

// Platform-internal: the desktop's font configuration, read beside the opening of the display.

#include <thread>

// Before the first text of the window can be measured, fontconfig reads the desktop's font
// configuration, dozens of small files: the longest single step of a start, and one that needs
// nothing of Qt. A thread of its own reads it while the application object opens the display;
// the main thread waits for it before it builds anything that shows text, so that no Qt code
// ever runs beside it. Without fontconfig this does nothing.
class FontConfigWarmUp {
public:
    FontConfigWarmUp();
    // Waits for the thread.
    ~FontConfigWarmUp();
    FontConfigWarmUp(const FontConfigWarmUp&) = delete;
    FontConfigWarmUp& operator=(const FontConfigWarmUp&) = delete;

private:
    std::thread m_thread;
};
