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

#include <QtTest>

#include <cstring>

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
    //   c P         left click (press and release)
    //   r P         right click
    //   m P         mouse move to P, with whatever buttons are held
    //   dbl P       double click
    //   k KEY       a key pressed and released on the view ("Escape", "Ctrl+Z")
    //   D / S       the Draw / Select command, delivered as a menu would deliver it
    //   clean       clears the document's modified flag
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
            const QPoint p = ParsePoint(steps.value(++i));
            if (step == "l")
                QTest::mousePress(w, Qt::LeftButton, {}, p);
            else if (step == "u")
                QTest::mouseRelease(w, Qt::LeftButton, {}, p);
            else if (step == "c")
                QTest::mouseClick(w, Qt::LeftButton, {}, p);
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

    static void Setup(ViewHarness& h, const QString& setup) {
        if (setup == "closed" || setup == "two" || setup == "fewer")
            h.Add({{100, 100}, {200, 100}, {200, 160}}, true);
        if (setup == "open")
            h.Add({{100, 100}, {200, 100}, {200, 160}}, false);
        if (setup == "two")
            h.Add({{90, 90}, {130, 90}, {130, 130}}, true);
        if (setup == "fewer")
            h.Add({{150, 150}, {250, 250}}, true);
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
        QTest::newRow("a double click adds one point, not two") << ""
                                                                << "dbl 30,30"
                                                                << "o(30,30)* draw drawing";

        // Switching tools keeps every flag.
        QTest::newRow("Select while drawing keeps the drawing flag")
            << ""
            << "c 10,10 c 50,40 S"
            << "o(10,10 50,40)* select drawing";
        QTest::newRow("and the next right press closes whatever is selected")
            << "closed"
            << "c 10,10 c 50,40 S c 150,130 r 0,0"
            << "c(100,100 200,100 200,160)* o(10,10 50,40) select";
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
        QTest::newRow("a press exactly on the rightmost point clears the selection")
            << "closed"
            << "S c 150,130 l 200,100 m 220,120 u 220,120"
            << "c(100,100 200,100 200,160) select";
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
        QTest::newRow("keys while drawing do nothing")
            << ""
            << "c 10,10 c 50,10 k Escape k Return k Delete k Backspace k Space k Ctrl+Z"
            << "o(10,10 50,10)* draw drawing";
        QTest::newRow("keys during a point drag do nothing, and the drag goes on")
            << "closed"
            << "S c 150,130 l 101,101 m 111,106 k Escape k Delete k Return k Ctrl+Z m 121,96 "
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

    void commandStates_data() {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("expected");

        // Each command as enabled (+) or disabled (-), the tools with their radio mark (*).
        QTest::newRow("empty document") << ""
                                        << ""
                                        << "Draw+* Select+ Cut- Copy- Paste-";
        QTest::newRow("Select chosen") << ""
                                       << "S"
                                       << "Draw+ Select+* Cut- Copy- Paste-";
        QTest::newRow("while drawing nothing can be cut, copied or pasted")
            << "record"
            << "c 10,10"
            << "Draw+* Select+ Cut- Copy- Paste-";
        QTest::newRow("a closed selected curve can be cut and copied")
            << ""
            << "c 10,10 r 10,10"
            << "Draw+* Select+ Cut+ Copy+ Paste-";
        QTest::newRow("with the record on the clipboard Paste is enabled")
            << "record"
            << ""
            << "Draw+* Select+ Cut- Copy- Paste+";
        QTest::newRow("a picture alone does not enable Paste")
            << "picture"
            << ""
            << "Draw+* Select+ Cut- Copy- Paste-";
        QTest::newRow("switching to Select while drawing keeps them disabled")
            << "record"
            << "c 10,10 S"
            << "Draw+ Select+* Cut- Copy- Paste-";
        QTest::newRow("Draw is disabled while a point is held, Select never")
            << "closed"
            << "S c 150,130 l 101,101"
            << "Draw- Select+* Cut+ Copy+ Paste-";
        QTest::newRow("and enabled again after the release") << "closed"
                                                             << "S c 150,130 l 101,101 u 101,101"
                                                             << "Draw+ Select+* Cut+ Copy+ Paste-";
        QTest::newRow("a Draw command while a point is held is not delivered")
            << "closed"
            << "S c 150,130 l 101,101 D"
            << "Draw- Select+* Cut+ Copy+ Paste-";
    }

    void commandStates() {
        QFETCH(QString, setup);
        QFETCH(QString, script);
        QFETCH(QString, expected);
        QVERIFY(AfxOleInit());
        ViewHarness h;
        Setup(h, setup);
        auto* source = new COleDataSource;
        if (setup == "record") {
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
                                                         {"Paste", ID_EDIT_PASTE}};
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
