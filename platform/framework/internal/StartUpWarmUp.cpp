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

StartUpWarmUp::StartUpWarmUp() {
    try {
        m_fonts = std::thread([this] { RunFonts(); });
    } catch (const std::system_error&) {
        // Without a thread the window reads the fonts itself, when it first measures a text.
    }
}

StartUpWarmUp::~StartUpWarmUp() {
    {
        const std::lock_guard lock(m_lock);
        m_bEnding = true;
    }
    m_changed.notify_one();
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
    m_changed.notify_one();
#if SWOOP2_HAVE_QT_DBUS
    try {
        // Where no session bus runs, the library tries to start one for the display, and
        // that alone takes milliseconds; Qt keeps the outcome, a failure included.
        m_bus = std::thread([] { QDBusConnection::sessionBus(); });
    } catch (const std::system_error&) {
        // The window connects when it first asks.
    }
#endif
}

void StartUpWarmUp::RunFonts() {
#if SWOOP2_HAVE_FONTCONFIG
    // fontconfig loads its configuration once for the process, whichever thread asks first;
    // Qt's own call then finds it loaded.
    FcInit();
#endif
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_bApplicationMade || m_bEnding; });
        if (!m_bApplicationMade)
            return;
    }
    // Only the list: the fonts that stand in for the window font's missing characters, and the
    // font itself, are chosen by the window's thread, which would otherwise wait for this one
    // to choose them first.
    QFontDatabase::families();
}
