#include "platform/framework/internal/FontWarmUp.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QStringList>

#if SWOOP2_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <system_error>

FontWarmUp::FontWarmUp() {
    try {
        m_thread = std::thread([this] { Run(); });
    } catch (const std::system_error&) {
        // Without a thread the window reads the fonts itself, when it first measures a text.
    }
}

FontWarmUp::~FontWarmUp() {
    {
        const std::lock_guard lock(m_lock);
        m_bEnding = true;
    }
    m_changed.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void FontWarmUp::ApplicationMade() {
    {
        const std::lock_guard lock(m_lock);
        m_bApplicationMade = true;
    }
    m_changed.notify_one();
}

void FontWarmUp::Run() {
#if SWOOP2_HAVE_FONTCONFIG
    // Qt's own call then finds the configuration loaded.
    FcInit();
#endif
    {
        std::unique_lock lock(m_lock);
        m_changed.wait(lock, [this] { return m_bApplicationMade || m_bEnding; });
        if (!m_bApplicationMade)
            return;
    }
    // The database, and the fonts that stand in for the default one's missing characters, are
    // kept for every thread; the font itself is loaded again by the window's thread.
    QFontDatabase::families();
    QFontMetrics(QFont()).height();
}
