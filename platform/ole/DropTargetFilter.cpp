#include "platform/ole/DropTargetFilter.h"

#include "platform/framework/CView.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/GuardedCall.h"
#include "platform/geometry/CPoint.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDropTarget.h"
#include "platform/ole/DragKeys.h"

#include <QDropEvent>
#include <QWidget>

namespace {

// How long the pointer stays near an edge before the scrolling starts, and then the pace of
// the steps, that of a point dragged near an edge.
constexpr int kScrollDelayMs = 300;
constexpr int kScrollStepMs = 40;

DWORD KeyStateOf(const QDropEvent& event) {
    DWORD state = 0;
    const Qt::KeyboardModifiers modifiers =
        DragKeys::AtTarget(event.modifiers(), event.possibleActions(), DragKeys::KeptFromTarget(),
                           event.source() != nullptr);
    const Qt::MouseButtons buttons = event.buttons();
    if (modifiers & Qt::ControlModifier)
        state |= MK_CONTROL;
    if (modifiers & Qt::ShiftModifier)
        state |= MK_SHIFT;
    if (buttons & Qt::LeftButton)
        state |= MK_LBUTTON;
    if (buttons & Qt::RightButton)
        state |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton)
        state |= MK_MBUTTON;
    return state;
}

CPoint PointOf(const QDropEvent& event) {
    const QPoint p = event.position().toPoint();
    return {p.x(), p.y()};
}

// The action Qt reports for an effect, among those the source allows; move wins when the
// target names both.
Qt::DropAction ActionFor(DROPEFFECT effect, Qt::DropActions possible) {
    if ((effect & DROPEFFECT_MOVE) && (possible & Qt::MoveAction))
        return Qt::MoveAction;
    if ((effect & DROPEFFECT_COPY) && (possible & Qt::CopyAction))
        return Qt::CopyAction;
    return Qt::IgnoreAction;
}

void Answer(QDropEvent& event, DROPEFFECT effect) {
    const Qt::DropAction action = ActionFor(effect, event.possibleActions());
    if (action == Qt::IgnoreAction) {
        event.setDropAction(Qt::IgnoreAction);
        event.ignore();
        return;
    }
    event.setDropAction(action);
    event.accept();
}

} // namespace

DropTargetFilter::DropTargetFilter(COleDropTarget* target, CWnd* pWnd)
    : m_target(target), m_pWnd(pWnd), m_widget(pWnd->GetWidget()) {
    m_hadAcceptDrops = m_widget->acceptDrops();
    m_widget->setAcceptDrops(true);
    m_widget->installEventFilter(this);
    connect(&m_autoScroll, &QTimer::timeout, this, [this] { AutoScrollTick(); });
}

DropTargetFilter::~DropTargetFilter() {
    if (!m_widget)
        return;
    m_widget->removeEventFilter(this);
    m_widget->setAcceptDrops(m_hadAcceptDrops);
}

bool DropTargetFilter::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_widget)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDropEvent*>(event);
        m_lastEffect = Ask(/*bEntering=*/true, drag);
        Answer(*drag, m_lastEffect);
        FollowEdges(drag->position().toPoint());
        // Qt sends moves and the drop only to a widget that accepted the entry, while the
        // target may refuse at first and accept later (another spot, the Ctrl key): the entry
        // is always taken, and the answer to the move that follows it is what counts.
        drag->accept();
        return true;
    }
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        m_lastEffect = Ask(/*bEntering=*/false, drag);
        Answer(*drag, m_lastEffect);
        FollowEdges(drag->position().toPoint());
        return true;
    }
    case QEvent::DragLeave:
        Leave();
        return true;
    case QEvent::Drop:
        Drop(static_cast<QDropEvent*>(event));
        return true;
    default:
        return false;
    }
}

DROPEFFECT DropTargetFilter::Ask(bool bEntering, QDropEvent* event) {
    COleDataObject data(event->mimeData());
    const DWORD keyState = KeyStateOf(*event);
    const CPoint point = PointOf(*event);
    DROPEFFECT effect = DROPEFFECT_NONE;
    if (!AfxCallGuarded([&] {
            effect = bEntering ? m_target->OnDragEnter(m_pWnd, &data, keyState, point)
                               : m_target->OnDragOver(m_pWnd, &data, keyState, point);
        }))
        return DROPEFFECT_NONE;
    return effect;
}

void DropTargetFilter::FollowEdges(QPoint at) {
    // Only a drag the target would take scrolls it, and only once the pointer has stayed near
    // an edge for a moment: a drag on its way in crosses the edge, and should not scroll.
    const auto* view = dynamic_cast<const CView*>(m_pWnd);
    if (m_lastEffect == DROPEFFECT_NONE || view == nullptr ||
        view->AutoScrollStep(CPoint(at.x(), at.y())) == CPoint()) {
        m_autoScroll.stop();
        return;
    }
    m_autoScrollAt = at;
    if (!m_autoScroll.isActive())
        m_autoScroll.start(kScrollDelayMs);
}

void DropTargetFilter::AutoScrollTick() {
    bool scrolled = false;
    if (m_widget && m_lastEffect != DROPEFFECT_NONE && !AfxCallGuarded([&] {
            scrolled =
                m_target->OnDragScroll(m_pWnd, CPoint(m_autoScrollAt.x(), m_autoScrollAt.y()));
        }))
        scrolled = false;
    if (!scrolled) {
        m_autoScroll.stop();
        return;
    }
    if (m_autoScroll.interval() != kScrollStepMs)
        m_autoScroll.start(kScrollStepMs);
}

void DropTargetFilter::Leave() {
    m_autoScroll.stop();
    m_lastEffect = DROPEFFECT_NONE;
    AfxCallGuarded([&] { m_target->OnDragLeave(m_pWnd); });
}

void DropTargetFilter::Drop(QDropEvent* event) {
    ++s_dropCount;
    m_autoScroll.stop();
    const DROPEFFECT effect = m_lastEffect;
    m_lastEffect = DROPEFFECT_NONE;
    // A target that refused the last move is told the drag left, as if it had been cancelled.
    if (ActionFor(effect, event->possibleActions()) == Qt::IgnoreAction) {
        event->ignore();
        AfxCallGuarded([&] { m_target->OnDragLeave(m_pWnd); });
        return;
    }
    COleDataObject data(event->mimeData());
    bool dropped = false;
    if (!AfxCallGuarded(
            [&] { dropped = m_target->OnDrop(m_pWnd, &data, effect, PointOf(*event)); }))
        dropped = false;
    if (dropped) {
        Answer(*event, effect);
    } else {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
    }
}
