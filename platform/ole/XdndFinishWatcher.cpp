#include "platform/ole/XdndFinishWatcher.h"

#include "platform/ole/OleConstants.h"

#include <QGuiApplication>
#include <QTimer>
#include <qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <cstdlib>
#include <cstring>

namespace {

std::uint32_t InternAtom(xcb_connection_t* connection, const char* name) {
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, std::uint16_t(std::strlen(name)), name);
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (!reply)
        return 0;
    const std::uint32_t atom = reply->atom;
    std::free(reply);
    return atom;
}

} // namespace

XdndFinishWatcher::XdndFinishWatcher() {
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (!connection)
        return;
    m_finishedAtom = InternAtom(connection, "XdndFinished");
    m_copyAtom = InternAtom(connection, "XdndActionCopy");
    m_moveAtom = InternAtom(connection, "XdndActionMove");
    if (m_finishedAtom)
        qGuiApp->installNativeEventFilter(this);
}

XdndFinishWatcher::~XdndFinishWatcher() {
    if (m_finishedAtom && qGuiApp)
        qGuiApp->removeNativeEventFilter(this);
}

DROPEFFECT XdndFinishWatcher::WaitForOutcome(int timeoutMs) {
    if (!IsActive())
        return DROPEFFECT_NONE;
    if (!m_outcome) {
        QTimer::singleShot(timeoutMs, &m_loop, &QEventLoop::quit);
        m_loop.exec();
    }
    return m_outcome.value_or(DROPEFFECT_NONE);
}

bool XdndFinishWatcher::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (eventType != "xcb_generic_event_t" || m_outcome)
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
    if (client->type != m_finishedAtom || client->format != 32)
        return false;
    // XdndFinished, version 5: bit 0 of the second word says whether the drop was accepted,
    // the third word names the action performed.
    const bool accepted = client->data.data32[1] & 1;
    const std::uint32_t action = client->data.data32[2];
    if (!accepted)
        m_outcome = DROPEFFECT_NONE;
    else if (action == m_moveAtom)
        m_outcome = DROPEFFECT_MOVE;
    else if (action == m_copyAtom)
        m_outcome = DROPEFFECT_COPY;
    else
        m_outcome = DROPEFFECT_NONE;
    m_loop.quit();
    // Qt ends its side of the drag with the same message.
    return false;
}
