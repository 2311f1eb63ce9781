#include "platform/framework/internal/FontConfigWarmUp.h"

#if SWOOP2_HAVE_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

#include <system_error>

FontConfigWarmUp::FontConfigWarmUp() {
#if SWOOP2_HAVE_FONTCONFIG
    try {
        // fontconfig loads its configuration once for the process, whichever thread asks first;
        // Qt's own call then finds it loaded.
        m_thread = std::thread([] { FcInit(); });
    } catch (const std::system_error&) {
        // Without a thread Qt reads the configuration itself, when it first measures a text.
    }
#endif
}

FontConfigWarmUp::~FontConfigWarmUp() {
    if (m_thread.joinable())
        m_thread.join();
}
