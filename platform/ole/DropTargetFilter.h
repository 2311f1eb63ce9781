#pragma once

// Platform-internal: the Qt side of a registered drop target.

#include "platform/Types.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QTimer>

class COleDropTarget;
class CWnd;
class QDropEvent;
#include <QWidget>

// Watches the drag events of one window's widget and turns them into the drop target's
// handlers, each run guarded so that no exception reaches Qt's event loop.
class DropTargetFilter : public QObject {
    Q_OBJECT
public:
    DropTargetFilter(COleDropTarget* target, CWnd* pWnd);
    ~DropTargetFilter() override;

    // How many drops the targets of this process have been handed so far: a drag whose count
    // did not change ended in another program, or nowhere.
    static unsigned DropCount() { return s_dropCount; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Asks the target's entry or move handler what a drop here would do; nothing, should the
    // handler throw.
    DROPEFFECT Ask(bool bEntering, QDropEvent* event);
    void Leave();
    void Drop(QDropEvent* event);
    // Keeps the target asked to scroll while an accepted drag stands at a point, since drag
    // events come only when the pointer moves.
    void FollowEdges(QPoint at);
    void AutoScrollTick();

    COleDropTarget* m_target;
    CWnd* m_pWnd;
    QPointer<QWidget> m_widget;
    bool m_hadAcceptDrops = false;
    // What the target answered last: the effect the drop is made with.
    DROPEFFECT m_lastEffect = 0;
    QTimer m_autoScroll;
    QPoint m_autoScrollAt;
    static inline unsigned s_dropCount = 0;
};
