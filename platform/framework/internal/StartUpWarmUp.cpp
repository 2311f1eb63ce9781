#include "platform/framework/internal/StartUpWarmUp.h"

#include <QFontDatabase>
#include <QStringList>

#if SWOOP2_HAVE_QT_DBUS
#include <QDBusConnection>
#endif
#if SWOOP2_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <system_error>

// Made and ended on the window's thread, the only one that reads it.
StartUpWarmUp* StartUpWarmUp::s_pRunning = nullptr;

StartUpWarmUp::StartUpWarmUp() {
    try {
        m_fonts = std::thread([this] { RunFonts(); });
        s_pRunning = this;
    } catch (const std::system_error&) {
        // Without a thread the window reads the fonts itself, when it first measures a text.
    }
}

StartUpWarmUp::~StartUpWarmUp() {
    if (s_pRunning == this)
        s_pRunning = nullptr;
    {
        const std::lock_guard lock(m_lock);
        m_bEnding = true;
    }
    m_changed.notify_all();
    if (m_fonts.joinable())
        m_fonts.join();
    if (m_bus.joinable())
        m_bus.join();
}

void StartUpWarmUp::ApplicationMade() {
    {
        const std::lock_guard lock(m_lock);
        m_bApplicationMade = true;
    }
    m_changed.notify_all();
#if SWOOP2_HAVE_QT_DBUS && !defined(__SANITIZE_ADDRESS__)
    // Where no session bus runs, the library forks to start one for the display, which takes
    // milliseconds; Qt keeps the outcome, a failure included. AddressSanitizer's allocator is
    // not locked around a fork, so in a sanitizer build a child forked while the window's
    // thread allocates can spin for ever before it starts anything, and the window waits for
    // it: there the window's thread connects itself, when it first asks.
    try {
        m_bus = std::thread([] { QDBusConnection::sessionBus(); });
    } catch (const std::system_error&) {
        // The window connects when it first asks.
    }
#endif
}

void StartUpWarmUp::AwaitFontConfiguration() {
    StartUpWarmUp* warmUp = s_pRunning;
    if (warmUp == nullptr)
        return;
    std::unique_lock lock(warmUp->m_lock);
    warmUp->m_changed.wait(lock, [warmUp] { return warmUp->m_bFontConfigurationRead; });
}

void StartUpWarmUp::RunFonts() {
#if SWOOP2_HAVE_FONTCONFIG
    // Once read, the configuration serves the whole process: Qt's own call finds it loaded.
    FcInit();
#endif
    {
        std::unique_lock lock(m_lock);
        m_bFontConfigurationRead = true;
        m_changed.notify_all();
        m_changed.wait(lock, [this] { return m_bApplicationMade || m_bEnding; });
        if (!m_bApplicationMade)
            return;
    }
    // Only the list: the fonts that stand in for the window font's missing characters, and the
    // font itself, are chosen by the window's thread, which would otherwise wait for this one
    // to choose them first.
    QFontDatabase::families();
}
