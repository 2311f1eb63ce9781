#pragma once

// Platform-internal: the clipboard side of the data-transfer service, started by AfxOleInit.

#include "platform/Types.h"
#include "platform/ole/GlobalMemory.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

#include <memory>

class COleDataSource;
class QClipboard;
class QMimeData;
class SourceMimeData;

// Knows which formats the clipboard holds without asking another program each time: the list
// is taken once after every change of the clipboard (several changes in a row are coalesced),
// and while this process owns the clipboard it comes from the own data source, with no query
// at all. An unresponsive clipboard owner can then stall one refresh, never every question
// asked by the menus and toolbars.
class ClipboardService : public QObject {
    Q_OBJECT
public:
    // Starts the service once per application; false when there is no clipboard.
    static bool Start();
    // The running service, or null before Start or after the application has gone.
    static ClipboardService* Instance();

    void TakeOwnership(std::unique_ptr<COleDataSource> source);
    bool IsAvailable(CLIPFORMAT cf) const;
    HGLOBAL GetGlobalData(CLIPFORMAT cf) const;

    // True while this process's own data source is on the clipboard.
    bool OwnsClipboard() const { return !m_owned.isNull(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ClipboardService(QClipboard* clipboard);
    void StartFirstRefresh();
    void OnClipboardChanged();
    void Refresh();

    QClipboard* m_clipboard;
    QPointer<SourceMimeData> m_owned;
    QStringList m_formats;
    QTimer m_refresh;
    bool m_bFirstRefreshStarted = false;
};
