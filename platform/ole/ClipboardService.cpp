#include "platform/ole/ClipboardService.h"

#include "platform/framework/internal/IdleUpdate.h"
#include "platform/ole/MimeFormat.h"
#include "platform/ole/SourceMimeData.h"

#include <QClipboard>
#include <QEvent>
#include <QGuiApplication>

namespace {

QPointer<ClipboardService> s_instance;

// Changes often come in bursts (a program that sets the clipboard twice, the loss of
// ownership followed by the new owner's notice): one refresh serves them all.
constexpr int kRefreshDelayMs = 20;

// The first list waits for the first window to be shown, but no longer than this.
constexpr int kFirstRefreshLatestMs = 500;

} // namespace

bool ClipboardService::Start() {
    if (s_instance)
        return true;
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (!app)
        return false;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard)
        return false;
    s_instance = new ClipboardService(clipboard);
    s_instance->setParent(app);
    return true;
}

ClipboardService* ClipboardService::Instance() {
    return s_instance.data();
}

ClipboardService::ClipboardService(QClipboard* clipboard) : m_clipboard(clipboard) {
    m_refresh.setSingleShot(true);
    m_refresh.setInterval(kRefreshDelayMs);
    connect(&m_refresh, &QTimer::timeout, this, &ClipboardService::Refresh);
    connect(m_clipboard, &QClipboard::dataChanged, this, &ClipboardService::OnClipboardChanged);
    // Another program may hold data already. Asking costs a start milliseconds (Qt loads every
    // image plugin to read the answer), which would delay the first picture of the window:
    // the question waits until a window has been shown, or a moment when none is.
    QCoreApplication::instance()->installEventFilter(this);
    QTimer::singleShot(kFirstRefreshLatestMs, this, &ClipboardService::StartFirstRefresh);
}

bool ClipboardService::eventFilter(QObject* watched, QEvent* event) {
    // A window is painted while its exposure is handled, before any timer started here fires.
    if (event->type() == QEvent::Expose)
        StartFirstRefresh();
    return QObject::eventFilter(watched, event);
}

void ClipboardService::StartFirstRefresh() {
    if (m_bFirstRefreshStarted)
        return;
    m_bFirstRefreshStarted = true;
    QCoreApplication::instance()->removeEventFilter(this);
    m_refresh.start();
}

void ClipboardService::TakeOwnership(std::unique_ptr<COleDataSource> source) {
    // Ours until Qt takes it, so that running out of memory on the way loses nothing.
    auto mime = std::make_unique<SourceMimeData>(std::move(source));
    QStringList formats = mime->formats();
    m_owned = mime.get();
    m_formats = std::move(formats);
    // Qt deletes the previous contents, and with them a previous data source of ours.
    m_clipboard->setMimeData(mime.release());
}

void ClipboardService::OnClipboardChanged() {
    // Under Wayland Qt keeps the contents of a selection that another program has taken until
    // the next Copy, while the clipboard already shows the other program's data: ours is no
    // longer what Paste should read.
    if (m_owned && m_clipboard->mimeData() != static_cast<const QMimeData*>(m_owned.data()))
        m_owned.clear();
    // Qt may report the change before it lets go of our own contents, so the list is settled
    // once the change has been handled, not here.
    if (m_owned)
        m_formats = m_owned->formats();
    else
        m_formats.clear();
    m_refresh.start();
}

void ClipboardService::Refresh() {
    if (m_owned) {
        m_formats = m_owned->formats();
    } else {
        const QMimeData* mime = m_clipboard->mimeData();
        m_formats = mime ? mime->formats() : QStringList();
    }
    // Paste follows the clipboard at once, also while the pointer rests on its button: the
    // bars ask again, and are answered from the list just taken.
    AfxScheduleIdleUpdate();
}

bool ClipboardService::IsAvailable(CLIPFORMAT cf) const {
    return FormatsOffer(m_formats, cf);
}

HGLOBAL ClipboardService::GetGlobalData(CLIPFORMAT cf) const {
    if (m_owned) {
        HGLOBAL own = m_owned->Source().FindBlock(cf);
        if (!own)
            return nullptr;
        HGLOBAL copy = GlobalAllocCopy(GlobalLock(own), GlobalSize(own));
        GlobalUnlock(own);
        return copy;
    }
    const QMimeData* mime = m_clipboard->mimeData();
    return mime ? GlobalDataFromMime(*mime, cf) : nullptr;
}
