#include "platform/framework/internal/DisplayOpening.h"

#include "platform/framework/AfxNoDisplay.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Why no window could be opened, as far as the environment tells.
std::string Cause() {
    const std::string x11 = Variable("DISPLAY");
    const std::string wayland = Variable("WAYLAND_DISPLAY");
    if (x11.empty() && wayland.empty())
        return "no display (neither DISPLAY nor WAYLAND_DISPLAY is set)";
    std::string named;
    if (!wayland.empty())
        named = "WAYLAND_DISPLAY=" + wayland;
    if (!x11.empty())
        named += (named.empty() ? "DISPLAY=" : ", DISPLAY=") + x11;
    return "cannot open the display (" + named + ")";
}

} // namespace

void AfxSetNoDisplayHint(const char* hint) {
    DisplayOpening::SetHint(hint);
}

void DisplayOpening::SetHint(const char* hint) {
    s_hint = hint != nullptr ? hint : "";
}

DisplayOpening::DisplayOpening(const char* argv0) {
    const std::string path = argv0 != nullptr ? argv0 : "";
    const auto slash = path.rfind('/');
    m_program = slash == std::string::npos ? path : path.substr(slash + 1);
    if (m_program.empty())
        m_program = "swoop2";
    s_current = this;
    m_previous = qInstallMessageHandler(&DisplayOpening::Handle);
}

DisplayOpening::~DisplayOpening() {
    qInstallMessageHandler(m_previous);
    s_current = nullptr;
    const std::lock_guard lock(m_heldLock);
    for (const Held& held : m_held) {
        const QMessageLogContext context(nullptr, 0, nullptr, held.category.c_str());
        qt_message_output(held.type, context, QString::fromStdString(held.text));
    }
}

void DisplayOpening::Handle(QtMsgType type, const QMessageLogContext& context,
                            const QString& text) {
    if (type == QtFatalMsg)
        Fail(text.toStdString());
    if (s_current == nullptr)
        return;
    const std::lock_guard lock(s_current->m_heldLock);
    s_current->m_held.push_back(
        {type, context.category != nullptr ? context.category : "", text.toStdString()});
}

bool DisplayOpening::DisplayFailed() const {
    // The words of Qt's X11 and Wayland platforms when their server cannot be reached.
    for (const Held& held : m_held) {
        if (held.text.find("connect to display") != std::string::npos ||
            held.text.find("wl_display") != std::string::npos)
            return true;
    }
    return false;
}

std::string DisplayOpening::QtReason(const std::string& fatal) const {
    // The warnings before the fatal message say what went wrong; the fatal message itself
    // only that the start failed.
    std::string reason;
    for (const Held& held : m_held) {
        if (held.type != QtWarningMsg && held.type != QtCriticalMsg)
            continue;
        reason += (reason.empty() ? "" : "; ") + held.text;
    }
    if (reason.empty())
        reason = fatal.substr(0, fatal.find('\n'));
    for (char& c : reason)
        c = c == '\n' || c == '\r' ? ' ' : c;
    return reason;
}

void DisplayOpening::Fail(const std::string& fatal) {
    std::string line = s_current != nullptr ? s_current->m_program : "swoop2";
    std::string cause;
    if (s_current == nullptr) {
        cause = Cause();
    } else {
        const std::lock_guard lock(s_current->m_heldLock);
        cause = s_current->DisplayFailed() ? Cause() : s_current->QtReason(fatal);
    }
    line += ": " + cause;
    if (!s_hint.empty())
        line += "; " + s_hint;
    std::fprintf(stderr, "%s\n", line.c_str());
    std::fflush(stderr);
    // Qt is half made and would abort on its way out: nothing of it may run again.
    std::_Exit(1);
}
