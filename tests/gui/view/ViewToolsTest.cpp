// The Draw and Select tools driven by real mouse events on the view's window, and the command
// states that follow from them.

// Mouse events go through the window system's path, as the desktop's would: the window keeps
// the mouse while a button is down, and a quick second press becomes a double click.
#define QTEST_QPA_MOUSE_HANDLING

#include "ViewHarness.h"

#include "platform/framework/AfxRes.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataSource.h"
#include "platform/ole/ClipboardFormat.h"
#include "platform/ole/GlobalMemory.h"
#include "view/CommandIds.h"

#include <QMimeData>
#include <QtTest>

#include <cstring>
#include <map>
#include <optional>

namespace {

QPoint ParsePoint(const QString& text) {
    const QStringList xy = text.split(',');
    return {xy.value(0).toInt(), xy.value(1).toInt()};
}

} // namespace

class ViewToolsTest : public QObject {
    Q_OBJECT

    // Plays a script of space-separated steps on the view's window:
    //   l P / u P   left press / left release at P ("x,y", client coordinates)
    //   c P         left click (press and release); sc P and sl P with Shift held
    //   all esc enter   Select All, and the Escape and Enter keys as their accelerators deliver
    //   them left right up down, Left Right Up Down   nudges by one screen pixel, and by ten front
    //   forward backward back   the arrangement r P         right click m P         mouse move to
    //   P, with whatever buttons are held dbl P       double click k KEY       a key pressed and
    //   released on the view ("Escape", "Ctrl+Z") D / S       the Draw / Select command, delivered
    //   as a menu would deliver it clean       clears the document's modified flag, as saving does
    //   cut copy paste del undo redo   the Edit menu's commands
    //   drag A B    a drag of the selection from A, dropped into this window at B (dragcopy:
    //               with the control key); dragout A: taken as a move by another program
    //   drop P      a curve dragged in from another program, dropped at P
    static void Play(ViewHarness& h, const QString& script) {
        QWidget* w = h.Widget();
        const QStringList steps = script.split(' ', Qt::SkipEmptyParts);
        for (int i = 0; i < steps.size(); ++i) {
            const QString& step = steps[i];
            if (step == "D") {
                h.frame.ExecuteCommand(ID_CURVES_DRAW);
                continue;
            }
            if (step == "S") {
                h.frame.ExecuteCommand(ID_CURVES_SELECT);
                continue;
            }
            if (step == "clean") {
                h.doc.SetModifiedFlag(false);
                continue;
            }
            if (step == "k") {
                const QKeyCombination key = QKeySequence(steps.value(++i))[0];
                QTest::keyClick(w, key.key(), key.keyboardModifiers());
                continue;
            }
            static const std::map<QString, UINT> kEdit = {
                {"cut", ID_EDIT_CUT},   {"copy", ID_EDIT_COPY}, {"paste", ID_EDIT_PASTE},
                {"del", ID_EDIT_CLEAR}, {"undo", ID_EDIT_UNDO}, {"redo", ID_EDIT_REDO}};
            if (kEdit.count(step) != 0) {
                h.frame.ExecuteCommand(kEdit.at(step));
                continue;
            }
            static const std::map<QString, UINT> kSelection = {
                {"all", ID_EDIT_SELECT_ALL},
                {"esc", ID_VIEW_CANCEL},
                {"enter", ID_CURVES_END},
                {"left", ID_NUDGE_LEFT},
                {"right", ID_NUDGE_RIGHT},
                {"up", ID_NUDGE_UP},
                {"down", ID_NUDGE_DOWN},
                {"Left", ID_NUDGE_FAR_LEFT},
                {"Right", ID_NUDGE_FAR_RIGHT},
                {"Up", ID_NUDGE_FAR_UP},
                {"Down", ID_NUDGE_FAR_DOWN},
                {"front", ID_ARRANGE_BRING_TO_FRONT},
                {"forward", ID_ARRANGE_BRING_FORWARD},
                {"backward", ID_ARRANGE_SEND_BACKWARD},
                {"back", ID_ARRANGE_SEND_TO_BACK}};
            if (kSelection.count(step) != 0) {
                h.frame.ExecuteCommand(kSelection.at(step));
                continue;
            }
            if (step.startsWith("drag")) {
                const QPoint from = ParsePoint(steps.value(++i));
                const QPoint to = step == "dragout" ? from : ParsePoint(steps.value(++i));
                Drag(h, from, to, step);
                continue;
            }
            if (step == "drop") {
                QMimeData mime;
                // Bounds 0,0 to 40,40 that the drop point lies outside of: centred on it.
                mime.setData("Tav.Swoop", QByteArray("\x1c\0\0\0\0\0\0\0\0\0\0\0"
                                                     "\x28\0\0\0\x0a\0\0\0"
                                                     "\x1e\0\0\0\x28\0\0\0",
                                                     28));
                SendDrop(h, &mime, ParsePoint(steps.value(++i)), std::nullopt, {});
                continue;
            }
            const QPoint p = ParsePoint(steps.value(++i));
            if (step == "l")
                QTest::mousePress(w, Qt::LeftButton, {}, p);
            else if (step == "u")
                QTest::mouseRelease(w, Qt::LeftButton, {}, p);
            else if (step == "c")
                QTest::mouseClick(w, Qt::LeftButton, {}, p);
            else if (step == "sc")
                QTest::mouseClick(w, Qt::LeftButton, Qt::ShiftModifier, p);
            else if (step == "sl")
                QTest::mousePress(w, Qt::LeftButton, Qt::ShiftModifier, p);
            else if (step == "r")
                QTest::mouseClick(w, Qt::RightButton, {}, p);
            else if (step == "m")
                QTest::mouseMove(w, p);
            else if (step == "dbl")
                QTest::mouseDClick(w, Qt::LeftButton, {}, p);
            else
                QFAIL(qPrintable("unknown step " + step));
        }
    }

    // Drag events into the view's window carrying the record: entry at `enter` when given, then
    // a hover and the drop at `at`.
    static void SendDrop(ViewHarness& h, const QMimeData* mime, QPoint at,
                         std::optional<QPoint> enter, Qt::KeyboardModifiers keys) {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent entry(enter.value_or(at), actions, mime, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(h.Widget(), &entry);
        QDragMoveEvent over(at, actions, mime, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(h.Widget(), &over);
        QDropEvent drop(at, actions, mime, Qt::NoButton, keys);
        QCoreApplication::sendEvent(h.Widget(), &drop);
    }

    // The drag of the selection, with the desktop's part played here: the drop into the same
    // window arrives while the drag runs, as it does on a desktop.
    static void Drag(ViewHarness& h, QPoint from, QPoint to, const QString& kind) {
        COleDataSource::SetDragHook([&](const COleDataSource& source) -> DROPEFFECT {
            if (kind == "dragout")
                return DROPEFFECT_MOVE;
            HGLOBAL block = source.FindBlock(h.doc.m_cfCurve);
            const bool several = block == nullptr;
            if (several)
                block = source.FindBlock(h.doc.m_cfCurves);
            QMimeData mime;
            mime.setData(several ? "Tav.Swoop.Curves" : "Tav.Swoop",
                         QByteArray(static_cast<const char*>(GlobalLock(block)),
                                    qsizetype(GlobalSize(block))));
            GlobalUnlock(block);
            const bool copy = kind == "dragcopy";
            SendDrop(h, &mime, to, from, copy ? Qt::ControlModifier : Qt::NoModifier);
            return copy ? DROPEFFECT_COPY : DROPEFFECT_MOVE;
        });
        QTest::mousePress(h.Widget(), Qt::LeftButton, {}, from);
        QTest::mouseMove(h.Widget(), from + QPoint(1, 0));
        COleDataSource::SetDragHook({});
        QTest::mouseRelease(h.Widget(), Qt::LeftButton, {}, from + QPoint(1, 0));
    }

    static QString StateAndFlag(const ViewHarness& h) {
        return h.State() + (h.doc.IsModified() ? " modified" : "");
    }

    static void Setup(ViewHarness& h, const QString& setup) {
        if (setup == "closed" || setup == "two" || setup == "fewer")
            h.Add({{100, 100}, {200, 100}, {200, 160}}, true);
        if (setup == "open")
            h.Add({{100, 100}, {200, 100}, {200, 160}}, false);
        if (setup == "two")
            h.Add({{90, 90}, {130, 90}, {130, 130}}, true);
        if (setup == "fewer")
            h.Add({{150, 150}, {250, 250}}, true);
        if (setup == "three") {
            h.Add({{20, 20}, {60, 20}, {60, 60}}, true);
            h.Add({{100, 20}, {140, 20}, {140, 60}}, true);
            h.Add({{180, 20}, {220, 20}, {220, 60}}, true);
        }
        h.doc.SetModifiedFlag(false);
        h.frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h.frame.GetWidget()));
    }

private slots:
    void initTestCase() {
        // Presses a few milliseconds apart would make double clicks of the scripts' clicks.
        QTest::qWait(0);
    }

    void drawingAndSelecting_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");

        // Drawing.
        QTest::newRow("three presses draw one open selected curve")
            << ""
            << "c 10,10 c 50,10 c 50,40"
            << "o(10,10 50,10 50,40)* draw drawing";
        QTest::newRow("a right press closes it") << ""
                                                 << "c 10,10 c 50,10 c 50,40 r 0,0"
                                                 << "c(10,10 50,10 50,40)* draw";
        QTest::newRow("a fourth press after closing starts a new curve")
            << ""
            << "c 10,10 c 50,10 c 50,40 r 0,0 c 90,90"
            << "c(10,10 50,10 50,40) o(90,90)* draw drawing";
        QTest::newRow("a right press after one point closes a one-point curve") << ""
                                                                                << "c 7,8 r 7,8"
                                                                                << "c(7,8)* draw";
        QTest::newRow("repeated points are kept") << ""
                                                  << "c 5,5 c 5,5"
                                                  << "o(5,5 5,5)* draw drawing";
        QTest::newRow("a right press with nothing drawn changes nothing")
            << "closed"
            << "r 5,5"
            << "c(100,100 200,100 200,160) draw";
        QTest::newRow("a double click adds one point, not two, and ends the curve")
            << ""
            << "dbl 30,30"
            << "o(30,30)* draw";
        QTest::newRow("Enter ends the curve, open, and the next press starts a new one")
            << ""
            << "c 10,10 c 50,10 enter c 90,90"
            << "o(10,10 50,10) o(90,90)* draw drawing";
        QTest::newRow("Escape ends the curve, then clears the selection")
            << ""
            << "c 10,10 c 50,10 esc k Escape esc"
            << "o(10,10 50,10) draw";

        // Switching tools ends the curve being drawn, open.
        QTest::newRow("Select while drawing ends the curve, open") << ""
                                                                   << "c 10,10 c 50,40 S"
                                                                   << "o(10,10 50,40)* select";
        QTest::newRow("and a right press then closes nothing")
            << "closed"
            << "c 10,10 c 50,40 S c 150,130 r 0,0"
            << "c(100,100 200,100 200,160)* o(10,10 50,40) select";
        QTest::newRow("and back in Draw a press starts a new curve")
            << ""
            << "c 10,10 c 50,40 S D c 90,90"
            << "o(10,10 50,40) o(90,90)* draw drawing";
        QTest::newRow("Draw on an open selected curve extends it without the drawing flag")
            << "open"
            << "S c 150,130 D c 250,200 r 0,0"
            << "o(100,100 200,100 200,160 250,200)* draw";

        // Selecting.
        QTest::newRow("a press inside the bounds selects and arms a drag")
            << "closed"
            << "S l 150,130"
            << "c(100,100 200,100 200,160)* select pending";
        QTest::newRow("a release disarms it") << "closed"
                                              << "S c 150,130"
                                              << "c(100,100 200,100 200,160)* select";
        // Several curves.
        QTest::newRow("Shift+click adds a curve, which becomes current")
            << "three"
            << "S c 40,40 sc 120,40"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60)* c(180,20 220,20 220,60) select";
        QTest::newRow("Shift+click on a selected curve takes it out")
            << "three"
            << "S c 40,40 sc 120,40 sc 120,40"
            << "c(20,20 60,20 60,60)* c(100,20 140,20 140,60) c(180,20 220,20 220,60) select";
        QTest::newRow("a band selects the curves that lie wholly inside it")
            << "three"
            << "S c 40,40 l 10,10 m 150,70 u 150,70"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60)* c(180,20 220,20 220,60) select";
        QTest::newRow("a band shows while held and selects nothing yet")
            << "three"
            << "S l 10,10 m 150,70"
            << "c(20,20 60,20 60,60) c(100,20 140,20 140,60) c(180,20 220,20 220,60) select band";
        QTest::newRow("Shift+band adds to the selection")
            << "three"
            << "S c 200,40 sl 10,10 m 150,70 u 150,70"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60)+ c(180,20 220,20 220,60)* select";
        QTest::newRow("Escape drops the band")
            << "three"
            << "S l 10,10 m 150,70 esc u 150,70"
            << "c(20,20 60,20 60,60) c(100,20 140,20 140,60) c(180,20 220,20 220,60) select";
        QTest::newRow("a press inside one of several selected curves keeps them all")
            << "three"
            << "S all l 40,40"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60)+ c(180,20 220,20 220,60)* select "
               "pending";
        QTest::newRow("and its release without a move selects that curve alone")
            << "three"
            << "S all c 40,40"
            << "c(20,20 60,20 60,60)* c(100,20 140,20 140,60) c(180,20 220,20 220,60) select";
        QTest::newRow("a press on a handle of another selected curve drags that point")
            << "three"
            << "S all l 100,20 m 110,30 u 110,30"
            << "c(20,20 60,20 60,60)+ c(110,30 140,20 140,60)* c(180,20 220,20 220,60)+ select";
        QTest::newRow("Escape puts a held point back")
            << "three"
            << "S c 40,40 l 60,20 m 80,30 esc u 80,30"
            << "c(20,20 60,20 60,60)* c(100,20 140,20 140,60) c(180,20 220,20 220,60) select";
        QTest::newRow("Escape with nothing under way clears the selection")
            << "three"
            << "S all esc"
            << "c(20,20 60,20 60,60) c(100,20 140,20 140,60) c(180,20 220,20 220,60) select";
        QTest::newRow("a press on empty space clears the selection and arms nothing")
            << "closed"
            << "S c 150,130 l 10,10"
            << "c(100,100 200,100 200,160) select";
        QTest::newRow("a press on the right and bottom edges misses")
            << "closed"
            << "S l 200,130 u 200,130 l 150,160"
            << "c(100,100 200,100 200,160) select";
        QTest::newRow("a press on a point of the selection drags that point")
            << "closed"
            << "S c 150,130 l 101,101 m 111,106 m 121,96 u 121,96"
            << "c(120,95 200,100 200,160)* select";
        QTest::newRow("a press exactly on the rightmost point keeps the selection and drags it")
            << "closed"
            << "S c 150,130 l 200,100 m 220,120 u 220,120"
            << "c(100,100 220,120 200,160)* select";
        QTest::newRow("so does a press on the bottommost handle, outside the bounds")
            << "closed"
            << "S c 150,130 l 203,163 m 213,173 u 213,173"
            << "c(100,100 200,100 210,170)* select";
        QTest::newRow("a press one pixel left of it drags the point")
            << "closed"
            << "S c 150,130 l 199,101 m 209,111 u 209,111"
            << "c(100,100 210,110 200,160)* select";
        QTest::newRow("a press on a point where an upper curve's bounds lie selects that curve")
            << "two"
            << "S c 180,130 l 101,101 m 111,106 u 111,106"
            << "c(100,100 200,100 200,160) c(100,95 130,90 130,130)* select";
        QTest::newRow("an upper curve without that point index moves nothing")
            << "fewer"
            << "S c 180,110 l 199,159 m 209,169"
            << "c(100,100 200,100 200,160) c(150,150 250,250)* select moving pending";
        QTest::newRow("a release outside the window ends the point drag")
            << "closed"
            << "S c 150,130 l 101,101 m -20,-30 u -20,-30 m 50,50"
            << "c(-21,-31 200,100 200,160)* select";
        QTest::newRow("a release outside the window ends a pending drag")
            << "closed"
            << "S l 150,130 u 400,400"
            << "c(100,100 200,100 200,160)* select";
        // Delete and Ctrl+Z are the frame's accelerators, whose commands the undo table covers.
        QTest::newRow("keys while drawing do nothing")
            << ""
            << "c 10,10 c 50,10 k Escape k Return k Backspace k Space k Tab"
            << "o(10,10 50,10)* draw drawing";
        QTest::newRow("keys during a point drag do nothing, and the drag goes on")
            << "closed"
            << "S c 150,130 l 101,101 m 111,106 k Escape k Return k Backspace m 121,96 "
               "u 121,96"
            << "c(120,95 200,100 200,160)* select";
        QTest::newRow("a move without the button ends a point drag whose release went elsewhere")
            << "closed"
            << "S c 150,130 l 101,101 release-elsewhere m 140,140"
            << "c(100,100 200,100 200,160)* select";
    }

    void drawingAndSelecting() {
        QFETCH(QString, setup);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        ViewHarness h;
        Setup(h, setup);
        QString played = script;
        if (played.contains("release-elsewhere")) {
            // The press's release went to another window: the view never saw it.
            const QStringList halves = played.split("release-elsewhere");
            Play(h, halves[0]);
            QMouseEvent release(QEvent::MouseButtonRelease, QPointF(0, 0), QPointF(0, 0),
                                Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
            QWidget other;
            QApplication::sendEvent(&other, &release);
            QMouseEvent move(QEvent::MouseMove, QPointF(140, 140), QPointF(140, 140), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(h.Widget(), &move);
        } else {
            Play(h, played);
        }
        QCOMPARE(h.State(), expected);
    }

    // Each kind of step: the drawing, the selection, the tool and flags, and the modified flag,
    // after the edits, after one Undo, and after the Redo that follows.
    void undoAndRedo_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("edited");
        QTest::addColumn<QString>("undone");
        QTest::addColumn<QString>("redone");

        QTest::newRow("a point added while drawing") << ""
                                                     << "c 10,10 c 50,10"
                                                     << "o(10,10 50,10)* draw drawing modified"
                                                     << "o(10,10)* draw drawing modified"
                                                     << "o(10,10 50,10)* draw drawing modified";
        QTest::newRow("the first point takes the curve with it, and brings back its drawing")
            << ""
            << "c 10,10"
            << "o(10,10)* draw drawing modified"
            << "draw"
            << "o(10,10)* draw drawing modified";
        QTest::newRow("a finished curve goes whole") << ""
                                                     << "c 10,10 c 50,10 c 50,40 r 0,0"
                                                     << "c(10,10 50,10 50,40)* draw modified"
                                                     << "draw"
                                                     << "c(10,10 50,10 50,40)* draw modified";
        QTest::newRow("a point appended to an open curve")
            << "open"
            << "S c 150,130 D c 250,200"
            << "o(100,100 200,100 200,160 250,200)* draw modified"
            << "o(100,100 200,100 200,160)* draw"
            << "o(100,100 200,100 200,160 250,200)* draw modified";
        QTest::newRow("a point drag is one step however many moves")
            << "closed"
            << "S c 150,130 l 101,101 m 111,106 m 121,96 u 121,96"
            << "c(120,95 200,100 200,160)* select modified"
            << "c(100,100 200,100 200,160)* select"
            << "c(120,95 200,100 200,160)* select modified";
        QTest::newRow("two drags of one point are two steps")
            << "closed"
            << "S c 150,130 l 101,101 m 111,106 u 111,106 l 111,106 m 121,96 u 121,96"
            << "c(120,95 200,100 200,160)* select modified"
            << "c(110,105 200,100 200,160)* select modified"
            << "c(120,95 200,100 200,160)* select modified";
        QTest::newRow("the curve a step touched becomes the selection")
            << "two"
            << "S c 180,150 l 199,101 m 209,111 u 209,111 c 125,125"
            << "c(100,100 210,110 200,160) c(90,90 130,90 130,130)* select modified"
            << "c(100,100 200,100 200,160)* c(90,90 130,90 130,130) select"
            << "c(100,100 210,110 200,160)* c(90,90 130,90 130,130) select modified";
        QTest::newRow("a move within the window")
            << "two"
            << "S c 180,150 drag 150,130 170,140"
            << "c(90,90 130,90 130,130) c(120,110 220,110 220,170)* select modified"
            << "c(100,100 200,100 200,160)* c(90,90 130,90 130,130) select"
            << "c(90,90 130,90 130,130) c(120,110 220,110 220,170)* select modified";
        QTest::newRow("a copy within the window")
            << "closed"
            << "S c 150,130 dragcopy 150,130 170,140"
            << "c(100,100 200,100 200,160) c(120,110 220,110 220,170)* select modified"
            << "c(100,100 200,100 200,160) select"
            << "c(100,100 200,100 200,160) c(120,110 220,110 220,170)* select modified";
        QTest::newRow("a move into another copy") << "closed"
                                                  << "S c 150,130 dragout 150,130"
                                                  << "select modified"
                                                  << "c(100,100 200,100 200,160)* select"
                                                  << "select modified";
        QTest::newRow("a drop from another copy")
            << "closed"
            << "drop 60,60"
            << "c(100,100 200,100 200,160) c(40,40 80,50 70,80)* select modified"
            << "c(100,100 200,100 200,160) select"
            << "c(100,100 200,100 200,160) c(40,40 80,50 70,80)* select modified";
        QTest::newRow("a drop from another copy while drawing leaves the curve open")
            << ""
            << "c 10,10 c 50,10 drop 60,60"
            << "o(10,10 50,10) c(40,40 80,50 70,80)* select modified"
            << "o(10,10 50,10) select modified"
            << "o(10,10 50,10) c(40,40 80,50 70,80)* select modified";
        QTest::newRow("Delete of several curves")
            << "three"
            << "S all del"
            << "select modified"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60)+ c(180,20 220,20 220,60)* select"
            << "select modified";
        QTest::newRow("Cut and Paste of several curves")
            << "three"
            << "S c 40,40 sc 200,40 cut paste"
            << "c(100,20 140,20 140,60) c(20,20 60,20 60,60)+ c(180,20 220,20 220,60)* select "
               "modified"
            << "c(100,20 140,20 140,60) select modified"
            << "c(100,20 140,20 140,60) c(20,20 60,20 60,60)+ c(180,20 220,20 220,60)* select "
               "modified";
        QTest::newRow("a run of nudges")
            << "three"
            << "S c 40,40 sc 200,40 right right Down"
            << "c(22,30 62,30 62,70)+ c(100,20 140,20 140,60) c(182,30 222,30 222,70)* select "
               "modified"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60) c(180,20 220,20 220,60)* select"
            << "c(22,30 62,30 62,70)+ c(100,20 140,20 140,60) c(182,30 222,30 222,70)* select "
               "modified";
        QTest::newRow("a move of several curves within the window")
            << "three"
            << "S c 40,40 sc 120,40 drag 40,40 50,45"
            << "c(180,20 220,20 220,60) c(30,25 70,25 70,65)+ c(110,25 150,25 150,65)* select "
               "modified"
            << "c(20,20 60,20 60,60)+ c(100,20 140,20 140,60)* c(180,20 220,20 220,60) select"
            << "c(180,20 220,20 220,60) c(30,25 70,25 70,65)+ c(110,25 150,25 150,65)* select "
               "modified";
        QTest::newRow("Bring to Front")
            << "three"
            << "S c 40,40 front"
            << "c(100,20 140,20 140,60) c(180,20 220,20 220,60) c(20,20 60,20 60,60)* select "
               "modified"
            << "c(20,20 60,20 60,60)* c(100,20 140,20 140,60) c(180,20 220,20 220,60) select"
            << "c(100,20 140,20 140,60) c(180,20 220,20 220,60) c(20,20 60,20 60,60)* select "
               "modified";
        QTest::newRow("Bring Forward passes one curve")
            << "three"
            << "S c 40,40 forward"
            << "c(100,20 140,20 140,60) c(20,20 60,20 60,60)* c(180,20 220,20 220,60) select "
               "modified"
            << "c(20,20 60,20 60,60)* c(100,20 140,20 140,60) c(180,20 220,20 220,60) select"
            << "c(100,20 140,20 140,60) c(20,20 60,20 60,60)* c(180,20 220,20 220,60) select "
               "modified";
        QTest::newRow("Send to Back keeps the order of several")
            << "three"
            << "S c 120,40 sc 200,40 back"
            << "c(100,20 140,20 140,60)+ c(180,20 220,20 220,60)* c(20,20 60,20 60,60) select "
               "modified"
            << "c(20,20 60,20 60,60) c(100,20 140,20 140,60)+ c(180,20 220,20 220,60)* select"
            << "c(100,20 140,20 140,60)+ c(180,20 220,20 220,60)* c(20,20 60,20 60,60) select "
               "modified";
        QTest::newRow("Send Backward")
            << "three"
            << "S c 200,40 backward"
            << "c(20,20 60,20 60,60) c(180,20 220,20 220,60)* c(100,20 140,20 140,60) select "
               "modified"
            << "c(20,20 60,20 60,60) c(100,20 140,20 140,60) c(180,20 220,20 220,60)* select"
            << "c(20,20 60,20 60,60) c(180,20 220,20 220,60)* c(100,20 140,20 140,60) select "
               "modified";
        QTest::newRow("Paste")
            << "closed"
            << "S c 150,130 copy paste"
            << "c(100,100 200,100 200,160) c(100,100 200,100 200,160)* select modified"
            << "c(100,100 200,100 200,160) select"
            << "c(100,100 200,100 200,160) c(100,100 200,100 200,160)* select modified";
        QTest::newRow("Cut") << "two"
                             << "S c 180,150 cut"
                             << "c(90,90 130,90 130,130) select modified"
                             << "c(100,100 200,100 200,160)* c(90,90 130,90 130,130) select"
                             << "c(90,90 130,90 130,130) select modified";
        QTest::newRow("Delete") << "two"
                                << "S c 180,150 del"
                                << "c(90,90 130,90 130,130) select modified"
                                << "c(100,100 200,100 200,160)* c(90,90 130,90 130,130) select"
                                << "c(90,90 130,90 130,130) select modified";
        QTest::newRow("undoing back to the state saved clears the modified flag")
            << ""
            << "c 10,10 r 0,0 clean c 50,50 r 0,0"
            << "c(10,10) c(50,50)* draw modified"
            << "c(10,10) draw"
            << "c(10,10) c(50,50)* draw modified";
        QTest::newRow("a new edit after Undo drops what could be redone")
            << ""
            << "c 10,10 r 0,0 undo c 50,50 r 0,0"
            << "c(50,50)* draw modified"
            << "draw"
            << "c(50,50)* draw modified";
    }

    void undoAndRedo() {
        QFETCH(QString, setup);
        QFETCH(QString, script);
        QFETCH(QString, edited);
        QFETCH(QString, undone);
        QFETCH(QString, redone);
        QVERIFY(AfxOleInit());
        ViewHarness h;
        Setup(h, setup);
        Play(h, script);
        QCOMPARE(StateAndFlag(h), edited);
        h.frame.ExecuteCommand(ID_EDIT_UNDO);
        QCOMPARE(StateAndFlag(h), undone);
        h.frame.ExecuteCommand(ID_EDIT_REDO);
        QCOMPARE(StateAndFlag(h), redone);
        QVERIFY(!h.Command(ID_EDIT_REDO).enabled);
    }

    void commandStates_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");

        // Each command as enabled (+) or disabled (-), the tools with their radio mark (*).
        QTest::newRow("empty document") << ""
                                        << ""
                                        << "Draw+* Select+ Cut- Copy- Paste- Delete- Undo- Redo- "
                                           "Front- Forward- Backward- Back-";
        QTest::newRow("Select chosen") << ""
                                       << "S"
                                       << "Draw+ Select+* Cut- Copy- Paste- Delete- Undo- Redo- "
                                          "Front- Forward- Backward- Back-";
        QTest::newRow("while drawing nothing can be cut, copied or pasted")
            << "record"
            << "c 10,10"
            << "Draw+* Select+ Cut- Copy- Paste- Delete- Undo+ Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("a closed selected curve can be cut and copied")
            << ""
            << "c 10,10 r 10,10"
            << "Draw+* Select+ Cut+ Copy+ Paste- Delete+ Undo+ Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("with the record on the clipboard Paste is enabled")
            << "record"
            << ""
            << "Draw+* Select+ Cut- Copy- Paste+ Delete- Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("a picture alone does not enable Paste")
            << "picture"
            << ""
            << "Draw+* Select+ Cut- Copy- Paste- Delete- Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("switching to Select ends the curve, which can then be cut")
            << "record"
            << "c 10,10 S"
            << "Draw+ Select+* Cut+ Copy+ Paste+ Delete+ Undo+ Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("Draw, Delete and Paste are disabled while a point is held, Select never")
            << "closed record"
            << "S c 150,130 l 101,101"
            << "Draw- Select+* Cut+ Copy+ Paste- Delete- Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("and enabled again after the release")
            << "closed"
            << "S c 150,130 l 101,101 u 101,101"
            << "Draw+ Select+* Cut+ Copy+ Paste- Delete+ Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("a Draw command while a point is held is not delivered")
            << "closed"
            << "S c 150,130 l 101,101 D"
            << "Draw- Select+* Cut+ Copy+ Paste- Delete- Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("Undo and Redo are grayed while a point is held")
            << "closed"
            << "S c 150,130 l 101,101 m 111,111 u 111,111 undo l 100,100"
            << "Draw- Select+* Cut+ Copy+ Paste- Delete- Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("the arrangement grays what would change nothing")
            << "three"
            << "S c 40,40"
            << "Draw+ Select+* Cut+ Copy+ Paste- Delete+ Undo- Redo- Front+ Forward+ Backward- "
               "Back-";
        QTest::newRow("and all of it with every curve selected")
            << "three"
            << "S all"
            << "Draw+ Select+* Cut+ Copy+ Paste- Delete+ Undo- Redo- Front- Forward- Backward- "
               "Back-";
        QTest::newRow("what was undone can be redone")
            << ""
            << "c 10,10 r 0,0 undo"
            << "Draw+* Select+ Cut- Copy- Paste- Delete- Undo- Redo+ Front- Forward- Backward- "
               "Back-";
    }

    void commandStates() {
        QFETCH(QString, setup);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QVERIFY(AfxOleInit());
        ViewHarness h;
        const QStringList setups = setup.split(' ');
        Setup(h, setups.first());
        auto* source = new COleDataSource;
        if (setups.contains("record")) {
            const char record[] = {12, 0, 0, 0, 5, 0, 0, 0, 6, 0, 0, 0};
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof record);
            std::memcpy(GlobalLock(block), record, sizeof record);
            GlobalUnlock(block);
            source->CacheGlobalData(h.doc.m_cfCurve, block);
        }
        if (setup == "picture") {
            HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, 40 + 4);
            auto* header = static_cast<std::uint8_t*>(GlobalLock(block));
            header[0] = 40;
            header[4] = 1;
            header[8] = 1;
            header[12] = 1;
            header[14] = 24;
            GlobalUnlock(block);
            source->CacheGlobalData(CF_DIB, block);
        }
        source->SetClipboard();
        QCoreApplication::processEvents();
        Play(h, script);

        QStringList states;
        const std::pair<const char*, UINT> commands[] = {{"Draw", ID_CURVES_DRAW},
                                                         {"Select", ID_CURVES_SELECT},
                                                         {"Cut", ID_EDIT_CUT},
                                                         {"Copy", ID_EDIT_COPY},
                                                         {"Paste", ID_EDIT_PASTE},
                                                         {"Delete", ID_EDIT_CLEAR},
                                                         {"Undo", ID_EDIT_UNDO},
                                                         {"Redo", ID_EDIT_REDO},
                                                         {"Front", ID_ARRANGE_BRING_TO_FRONT},
                                                         {"Forward", ID_ARRANGE_BRING_FORWARD},
                                                         {"Backward", ID_ARRANGE_SEND_BACKWARD},
                                                         {"Back", ID_ARRANGE_SEND_TO_BACK}};
        for (const auto& [name, id] : commands) {
            const ViewHarness::CommandState state = h.Command(id);
            states << QString(name) + (state.enabled ? "+" : "-") + (state.radio ? "*" : "");
        }
        QCOMPARE(states.join(' '), expected);
    }

    void modifiedFlag_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("modified");

        QTest::newRow("a point appended") << "open"
                                          << "S c 150,130 D c 5,5" << true;
        QTest::newRow("a curve closed") << ""
                                        << "c 5,5 clean r 5,5" << true;
        QTest::newRow("a point moved") << "closed"
                                       << "S c 150,130 l 101,101 m 120,120" << true;
        // The drag goes on after the save: its moves are a change from what was saved.
        QTest::newRow("a point of a new curve moved, saved and moved again")
            << ""
            << "c 10,10 c 50,10 c 50,40 r 0,0 S l 11,11 m 20,20 clean m 30,30" << true;
        QTest::newRow("a selection alone") << "closed"
                                           << "S c 150,130 c 5,5" << false;
        QTest::newRow("a point held but not moved") << "closed"
                                                    << "S c 150,130 c 101,101" << false;
        QTest::newRow("a right press with nothing drawn") << "closed"
                                                          << "r 5,5" << false;
        QTest::newRow("a change of tool") << ""
                                          << "S D S" << false;
    }

    void modifiedFlag() {
        QFETCH(QString, setup);
        QFETCH(QString, script);
        QFETCH(bool, modified);
        ViewHarness h;
        Setup(h, setup);
        Play(h, script);
        QCOMPARE(h.doc.IsModified(), modified);
    }
};

QTEST_MAIN(ViewToolsTest)
#include "ViewToolsTest.moc"
