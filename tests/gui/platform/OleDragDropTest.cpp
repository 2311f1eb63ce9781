// Drop targets fed with Qt's drag events, and the start of a drag, within one process. Drags
// between windows and processes need a real display: see the end-to-end tests.
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CException.h"
#include "platform/framework/CView.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/COleDropTarget.h"
#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/DragInputGuard.h"
#include "platform/ole/DragKeys.h"
#include "platform/ole/DragStartWatcher.h"
#include "platform/ole/GlobalMemory.h"

#include <QMimeData>
#include <QMouseEvent>
#include <QWidget>
#include <QtTest>

#include <cstring>
#include <memory>

namespace {

class RecordingWidget : public QWidget {
public:
    int releases = 0;

protected:
    void mouseReleaseEvent(QMouseEvent*) override { ++releases; }
};

// A view over a plain widget that writes down what the drop target tells it.
class RecordingView : public CView {
public:
    QStringList calls;
    DROPEFFECT answer = DROPEFFECT_MOVE;
    bool dropResult = true;
    bool throwOnEnter = false;
    QByteArray dropped;
    CLIPFORMAT format = 0;

    RecordingView() { m_pWidget = new RecordingWidget; }
    ~RecordingView() override {
        // The view's own destructor looks at its widget, so it must not be left dangling.
        delete m_pWidget;
        m_pWidget = nullptr;
    }

    DROPEFFECT OnDragEnter(COleDataObject* data, DWORD key, CPoint p) override {
        calls << QString("enter %1 %2,%3 %4")
                     .arg(key)
                     .arg(p.x)
                     .arg(p.y)
                     .arg(data->IsDataAvailable(format));
        if (throwOnEnter)
            throw CMemoryException();
        return answer;
    }
    DROPEFFECT OnDragOver(COleDataObject* data, DWORD key, CPoint p) override {
        calls << QString("over %1 %2,%3 %4")
                     .arg(key)
                     .arg(p.x)
                     .arg(p.y)
                     .arg(data->IsDataAvailable(format));
        return answer;
    }
    void OnDragLeave() override { calls << "leave"; }
    bool OnDrop(COleDataObject* data, DROPEFFECT effect, CPoint p) override {
        calls << QString("drop %1 %2,%3").arg(effect).arg(p.x).arg(p.y);
        if (HGLOBAL block = data->GetGlobalData(format)) {
            dropped = QByteArray(static_cast<const char*>(GlobalLock(block)),
                                 qsizetype(GlobalSize(block)));
            GlobalUnlock(block);
            GlobalFree(block);
        }
        return dropResult;
    }
    void OnDraw(CDC*) override {}
};

const Qt::DropActions kCopyOrMove = Qt::CopyAction | Qt::MoveAction;

} // namespace

class OleDragDropTest : public QObject {
    Q_OBJECT
    CLIPFORMAT m_cf = 0;
    QMimeData m_mime;
    std::unique_ptr<RecordingView> m_view;
    COleDropTarget m_target;
    QStringList m_messages;

    QWidget* Widget() { return m_view->GetWidget(); }

    // Qt delivers moves and drops only to a widget the drag has entered.
    void Enter(Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QDragEnterEvent enter(QPoint(5, 5), kCopyOrMove, &m_mime, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(Widget(), &enter);
    }

private slots:
    void initTestCase() {
        QVERIFY(AfxOleInit());
        m_cf = CLIPFORMAT(RegisterClipboardFormat("Tav.Swoop"));
        m_mime.setData("Tav.Swoop", QByteArray("\x0c\0\0\0\xff\x0d\x0a\0\x01\0\0\0", 12));
        SetMessageBoxHook([this](const std::string& text, UINT) {
            m_messages << QString::fromStdString(text);
            return IDOK;
        });
    }

    void init() {
        m_view = std::make_unique<RecordingView>();
        m_view->format = m_cf;
        QVERIFY(m_target.Register(m_view.get()));
        QVERIFY(Widget()->acceptDrops());
        m_messages.clear();
    }

    void cleanup() {
        m_target.Revoke();
        m_view.reset();
    }

    void registrationNeedsAWidgetAndRevokeStopsTheCalls() {
        CWnd bare;
        COleDropTarget target;
        QVERIFY(!target.Register(&bare));
        QVERIFY(!target.Register(nullptr));
        m_target.Revoke();
        QVERIFY(!Widget()->acceptDrops());
        QDragEnterEvent enter(QPoint(1, 1), kCopyOrMove, &m_mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &enter);
        QVERIFY(m_view->calls.isEmpty());
    }

    void handlersGetPointKeysAndDataAndTheirEffectGoesBack_data() {
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<Qt::MouseButtons>("buttons");
        QTest::addColumn<uint>("answer");
        QTest::addColumn<uint>("keyState");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<Qt::DropAction>("action"); // when accepted
        QTest::newRow("move") << Qt::KeyboardModifiers() << Qt::MouseButtons(Qt::LeftButton)
                              << uint(DROPEFFECT_MOVE) << uint(MK_LBUTTON) << true
                              << Qt::MoveAction;
        QTest::newRow("copy with ctrl")
            << Qt::KeyboardModifiers(Qt::ControlModifier) << Qt::MouseButtons(Qt::LeftButton)
            << uint(DROPEFFECT_COPY) << uint(MK_LBUTTON | MK_CONTROL) << true << Qt::CopyAction;
        QTest::newRow("shift, right button")
            << Qt::KeyboardModifiers(Qt::ShiftModifier) << Qt::MouseButtons(Qt::RightButton)
            << uint(DROPEFFECT_MOVE) << uint(MK_RBUTTON | MK_SHIFT) << true << Qt::MoveAction;
        QTest::newRow("refused") << Qt::KeyboardModifiers() << Qt::MouseButtons(Qt::LeftButton)
                                 << uint(DROPEFFECT_NONE) << uint(MK_LBUTTON) << false
                                 << Qt::IgnoreAction;
    }

    void handlersGetPointKeysAndDataAndTheirEffectGoesBack() {
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(Qt::MouseButtons, buttons);
        QFETCH(uint, answer);
        QFETCH(uint, keyState);
        QFETCH(bool, accepted);
        QFETCH(Qt::DropAction, action);
        m_view->answer = answer;

        QDragEnterEvent enter(QPoint(7, 9), kCopyOrMove, &m_mime, buttons, modifiers);
        QCoreApplication::sendEvent(Widget(), &enter);
        QVERIFY(enter.isAccepted()); // so that the moves keep coming
        if (accepted)
            QCOMPARE(enter.dropAction(), action);
        QDragMoveEvent over(QPoint(-3, 40), kCopyOrMove, &m_mime, buttons, modifiers);
        QCoreApplication::sendEvent(Widget(), &over);
        QCOMPARE(over.isAccepted(), accepted);
        if (accepted)
            QCOMPARE(over.dropAction(), action);
        QCOMPARE(m_view->calls, QStringList({QString("enter %1 7,9 1").arg(keyState),
                                             QString("over %1 -3,40 1").arg(keyState)}));
    }

    // A drag with Ctrl held as it begins, or not, over a target that sees the keys given: what
    // the drag offers, and whether the target acts as with Ctrl held. Under Wayland a target
    // keeps the keys it last saw before the keyboard left it, and a drag from another program
    // finds them there.
    void ctrlAtTheStartCopiesWhereTheTargetSeesNoKeys_data() {
        QTest::addColumn<bool>("keptFromTarget");
        QTest::addColumn<bool>("ctrl");
        QTest::addColumn<Qt::KeyboardModifiers>("seen");
        QTest::addColumn<bool>("fromThisProgram");
        QTest::addColumn<Qt::DropActions>("offered");
        QTest::addColumn<bool>("targetCtrl");
        const Qt::KeyboardModifiers none;
        const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
        QTest::newRow("X11, Ctrl: the target sees it itself")
            << false << true << ctrl << false << kCopyOrMove << true;
        QTest::newRow("X11, Ctrl let go on the way")
            << false << true << none << false << kCopyOrMove << false;
        QTest::newRow("Wayland, Ctrl: only a copy, which stands for Ctrl")
            << true << true << none << false << Qt::DropActions(Qt::CopyAction) << true;
        QTest::newRow("Wayland, no key") << true << false << none << false << kCopyOrMove << false;
        QTest::newRow("Wayland, no key, a Ctrl seen before the keyboard left")
            << true << false << ctrl << false << kCopyOrMove << false;
        QTest::newRow("Wayland, within the program, Ctrl pressed on the way")
            << true << false << ctrl << true << kCopyOrMove << true;
    }

    void ctrlAtTheStartCopiesWhereTheTargetSeesNoKeys() {
        QFETCH(bool, keptFromTarget);
        QFETCH(bool, ctrl);
        QFETCH(Qt::KeyboardModifiers, seen);
        QFETCH(bool, fromThisProgram);
        QFETCH(Qt::DropActions, offered);
        QFETCH(bool, targetCtrl);
        const Qt::KeyboardModifiers held = ctrl ? Qt::ControlModifier : Qt::NoModifier;
        const Qt::DropActions actions = DragKeys::Offered(kCopyOrMove, held, keptFromTarget);
        QCOMPARE(actions, offered);
        QCOMPARE(DragKeys::Offered(Qt::MoveAction, held, keptFromTarget), Qt::MoveAction);
        const Qt::KeyboardModifiers atTarget =
            DragKeys::AtTarget(seen, actions, keptFromTarget, fromThisProgram);
        QCOMPARE(bool(atTarget & Qt::ControlModifier), targetCtrl);
    }

    void dropHandsOverTheLastEffectAndReportsSuccess() {
        QDragMoveEvent over(QPoint(5, 5), kCopyOrMove, &m_mime, Qt::LeftButton,
                            Qt::ControlModifier);
        m_view->answer = DROPEFFECT_COPY;
        Enter(Qt::ControlModifier);
        QCoreApplication::sendEvent(Widget(), &over);
        QDropEvent drop(QPointF(11, 12), kCopyOrMove, &m_mime, Qt::NoButton, Qt::ControlModifier);
        QCoreApplication::sendEvent(Widget(), &drop);
        QVERIFY(drop.isAccepted());
        QCOMPARE(drop.dropAction(), Qt::CopyAction);
        QCOMPARE(m_view->calls.last(), QString("drop 1 11,12"));
        QCOMPARE(m_view->dropped, m_mime.data("Tav.Swoop"));
    }

    void failedDropIsReportedAsNoEffect() {
        QDragMoveEvent over(QPoint(5, 5), kCopyOrMove, &m_mime, Qt::LeftButton, Qt::NoModifier);
        Enter();
        QCoreApplication::sendEvent(Widget(), &over);
        m_view->dropResult = false;
        QDropEvent drop(QPointF(5, 5), kCopyOrMove, &m_mime, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(m_view->calls.last(), QString("drop 2 5,5"));
    }

    void dropAfterARefusalIsALeave() {
        m_view->answer = DROPEFFECT_NONE;
        Enter();
        QDragMoveEvent over(QPoint(5, 5), kCopyOrMove, &m_mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &over);
        QDropEvent drop(QPointF(5, 5), kCopyOrMove, &m_mime, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &drop);
        QVERIFY(!drop.isAccepted());
        QCOMPARE(m_view->calls.value(2), QString("leave"));
        QCOMPARE(m_view->calls.size(), 3);
    }

    void effectsTheSourceDoesNotAllowAreRefused() {
        m_view->answer = DROPEFFECT_MOVE;
        QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &m_mime, Qt::LeftButton,
                              Qt::NoModifier);
        QDragMoveEvent over(QPoint(1, 1), Qt::CopyAction, &m_mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &enter);
        QCoreApplication::sendEvent(Widget(), &over);
        QVERIFY(!over.isAccepted());
    }

    void leaveReachesTheView() {
        Enter();
        m_view->calls.clear();
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(Widget(), &leave);
        QCOMPARE(m_view->calls, QStringList({"leave"}));
    }

    void dataWithoutTheFormatIsSeenAsSuch() {
        QMimeData text;
        text.setText("hello");
        QDragEnterEvent enter(QPoint(1, 1), kCopyOrMove, &text, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &enter);
        QCOMPARE(m_view->calls, QStringList({"enter 1 1,1 0"}));
    }

    void anExceptionInAHandlerIsReportedAndRefusesTheDrag() {
        m_view->throwOnEnter = true;
        QDragEnterEvent enter(QPoint(1, 1), kCopyOrMove, &m_mime, Qt::LeftButton, Qt::NoModifier);
        QDragMoveEvent over(QPoint(1, 1), kCopyOrMove, &m_mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(Widget(), &enter);
        m_view->throwOnEnter = false;
        m_view->answer = DROPEFFECT_NONE;
        QCoreApplication::sendEvent(Widget(), &over);
        QVERIFY(!over.isAccepted());
        QCOMPARE(m_messages, QStringList({"Out of memory."}));
    }

    void dragWithoutAPressedButtonDoesNotStart() {
        COleDataSource source;
        source.CacheGlobalData(m_cf, GlobalAlloc(GMEM_MOVEABLE, 4));
        QCOMPARE(source.DoDragDrop(), DROPEFFECT_NONE);
    }

    void releaseBeforeTheStartDistanceEndsTheDragWithNone() {
        Widget()->resize(200, 200);
        Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Widget()));
        QWindow* window = Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        QTimer::singleShot(0, [window] {
            QTest::mouseMove(window, QPoint(51, 51));
            QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(51, 51));
        });
        COleDataSource source;
        source.CacheGlobalData(m_cf, GlobalAlloc(GMEM_MOVEABLE, 4));
        QCOMPARE(source.DoDragDrop(), DROPEFFECT_NONE);
        // The drag took the release, as it would had the drag begun.
        QCOMPARE(static_cast<RecordingWidget*>(Widget())->releases, 0);
        QVERIFY(m_view->calls.isEmpty());
    }

    // Input while the left button, pressed at 50,50, waits for the drag to begin: "press R",
    // "release L", "move X" (to X,50); and whether the drag then begins.
    void theWaitEndsWhenTheDraggingButtonIsLetGo_data() {
        QTest::addColumn<QStringList>("input");
        QTest::addColumn<bool>("begins");
        QTest::newRow("travel past the start distance")
            << QStringList{"move 51", "move 80"} << true;
        QTest::newRow("let go before it") << QStringList{"move 51", "release L"} << false;
        QTest::newRow("let go while another button is held")
            << QStringList{"press R", "release L"} << false;
        QTest::newRow("a click of another button goes on")
            << QStringList{"press R", "release R", "move 80"} << true;
    }

    void theWaitEndsWhenTheDraggingButtonIsLetGo() {
        QFETCH(QStringList, input);
        QFETCH(bool, begins);
        Widget()->resize(200, 200);
        Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Widget()));
        QWindow* window = Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        Qt::MouseButtons held = Qt::LeftButton;
        QTimer::singleShot(0, [&] {
            for (const QString& step : input) {
                const QStringList words = step.split(' ');
                const Qt::MouseButton button = words[1] == "L" ? Qt::LeftButton : Qt::RightButton;
                if (words[0] == "move") {
                    QTest::mouseMove(window, QPoint(words[1].toInt(), 50));
                } else if (words[0] == "press") {
                    QTest::mousePress(window, button, Qt::NoModifier, QPoint(50, 50));
                    held |= button;
                } else {
                    QTest::mouseRelease(window, button, Qt::NoModifier, QPoint(50, 50));
                    held &= ~button;
                }
            }
        });
        const DragInputGuard guard;
        DragStartWatcher watcher(window->mapToGlobal(QPoint(50, 50)), Qt::LeftButton, guard);
        QCOMPARE(watcher.Wait(), begins);
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton}) {
            if (held & button)
                QTest::mouseRelease(window, button, Qt::NoModifier, QPoint(50, 50));
        }
    }

    void escapeBeforeTheStartDistanceEndsTheDragWithNone() {
        Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Widget()));
        QWindow* window = Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
        QTimer::singleShot(0, [window] { QTest::keyClick(window, Qt::Key_Escape); });
        COleDataSource source;
        source.CacheGlobalData(m_cf, GlobalAlloc(GMEM_MOVEABLE, 4));
        QCOMPARE(source.DoDragDrop(), DROPEFFECT_NONE);
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
    }

    void dragTheDesktopCannotRunEndsWithNoneAndLeavesNothingBehind() {
        // The offscreen platform cannot drag: once past the start distance the drag ends at
        // once with no target. It must return, and leave nothing for LeakSanitizer to find.
        Widget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Widget()));
        QWindow* window = Widget()->windowHandle();
        QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
        QTimer::singleShot(0, [window] { QTest::mouseMove(window, QPoint(150, 150)); });
        COleDataSource source;
        source.CacheGlobalData(m_cf, GlobalAlloc(GMEM_MOVEABLE, 4));
        QCOMPARE(source.DoDragDrop(DROPEFFECT_COPY), DROPEFFECT_NONE);
        QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, QPoint(150, 150));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

QTEST_MAIN(OleDragDropTest)
#include "OleDragDropTest.moc"
