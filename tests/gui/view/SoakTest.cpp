// A long seeded run of user actions on the real view and document: drawing, selecting one curve
// or several (Shift, bands, Select All), point drags, nudges, the arrangement, the Edit commands
// over the clipboard, Undo and Redo, drops of synthetic and hostile records, New, Save and Open,
// parts of the window uncovered, scrolling and zooming. After every action the document must still
// hold together: the selection is null or one of its curves, every curve is held once, and what it
// saves loads back equal; its history leads back to the drawing it started from and forward again,
// and the modified flag is clear only where the drawing is the one last saved. And the window, once
// it has painted what the action changed, shows exactly the pixels of a repaint of everything from
// scratch.

#include "ViewHarness.h"

#include "document/ChangedPart.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CMemFile.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/OleConstants.h"
#include "view/CommandIds.h"

#include <QElapsedTimer>
#include <QExposeEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <QtTest>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <vector>

namespace {

constexpr int kWidth = 320;
constexpr int kHeight = 240;

std::vector<std::byte> Stored(CSwoop2Doc& doc) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    return file.GetData();
}

// The drawing as it would be saved, and what saving leaves out: whether each curve is closed.
std::vector<std::byte> Fingerprint(CSwoop2Doc& doc) {
    std::vector<std::byte> bytes = Stored(doc);
    for (const auto& curve : doc.m_curves)
        bytes.push_back(std::byte(curve->m_bClosed));
    return bytes;
}

using Curves = std::vector<std::vector<CPoint>>;

Curves PointsOf(const CSwoop2Doc& doc) {
    Curves curves;
    for (const auto& curve : doc.m_curves)
        curves.push_back(curve->m_points);
    return curves;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

    std::mt19937 m_rng;
    std::unique_ptr<ViewHarness> h;
    QTemporaryDir m_dir;
    QMimeData m_mime;
    int m_messages = 0;
    // What the last save wrote, for the next open to compare against.
    Curves m_saved;
    QString m_lastSaved;
    // The drawing where the history begins, and the drawing last saved or opened with the place
    // in the history where that happened, while that place still leads to it.
    std::vector<std::byte> m_historyStart;
    std::vector<std::byte> m_savedBytes;
    std::size_t m_savedAt = 0;
    bool m_savedReachable = true;

    int Uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(m_rng); }
    bool Chance(int percent) { return Uniform(0, 99) < percent; }

    // Mostly within the window, sometimes anywhere a 32-bit coordinate can be.
    std::int32_t Coordinate(int extent) {
        if (Chance(3))
            return std::int32_t(m_rng());
        return Uniform(-10, extent + 10);
    }
    CPoint Point() { return {Coordinate(kWidth), Coordinate(kHeight)}; }

    // A point on a control point of the selection, so that point drags happen often.
    CPoint PointNearSelection() {
        const CCurve* selected = h->doc.m_pSelected;
        if (selected == nullptr || selected->m_points.empty() || Chance(30))
            return Point();
        const CPoint pt = selected->m_points[Uniform(0, int(selected->m_points.size()) - 1)];
        return {pt.x + Uniform(-3, 3), pt.y + Uniform(-3, 3)};
    }

    QByteArray Record() {
        const int count = Chance(10) ? 0 : Uniform(1, 12);
        QByteArray bytes(4 + 8 * count, '\0');
        for (int i = 0; i < count; ++i) {
            qToLittleEndian(quint32(Coordinate(kWidth)), bytes.data() + 4 + 8 * i);
            qToLittleEndian(quint32(Coordinate(kHeight)), bytes.data() + 8 + 8 * i);
        }
        quint32 size = quint32(bytes.size());
        switch (Uniform(0, 9)) {
        case 0: // below the smallest record
            size = quint32(Uniform(0, 3));
            break;
        case 1: // more than the block holds
            size += quint32(Uniform(1, 1 << 20));
            break;
        case 2: // everything
            size = std::numeric_limits<quint32>::max();
            break;
        case 3: // a pair cut short
            bytes.chop(Uniform(1, 4));
            size = quint32(bytes.size());
            break;
        default:
            break;
        }
        if (bytes.size() >= 4)
            qToLittleEndian(size, bytes.data());
        return bytes;
    }

    bool Enabled(UINT id) { return h->Command(id).enabled; }

    QRect SomePart() {
        const QPoint corner(Uniform(-20, kWidth), Uniform(-20, kHeight));
        return QRect(corner, QSize(Uniform(1, kWidth / 2), Uniform(1, kHeight / 2)));
    }

    // The window paints what is invalid, and then must hold what a repaint of everything from
    // scratch draws; and the screen, which the platform gives only the parts it was asked to
    // show again, rounded to pixels its own way, must show what it shows after such a repaint.
    void CheckPicture() {
        // A zoom step's sharp picture may be left to come while the next actions run, or be
        // cut short by them, perhaps after it has drawn a while: whatever comes, once the
        // gesture pauses the window must show the drawing as it is.
        if (h->view->IsDrawingInBackground() && Chance(50)) {
            QTimer::singleShot(1, [] {});
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            return;
        }
        h->view->WaitForBackgroundDrawing();
        h->view->UpdateWindow();
        const QImage image = h->view->GetBackingImage()->convertToFormat(QImage::Format_RGB32);
        const QImage whole = h->Render();
        if (image != whole)
            QFAIL(qPrintable("the window's image differs from a whole repaint within " +
                             Differing(image, whole)));
        const QImage shown = h->OnScreen();
        const QImage repainted = h->OnScreenRepaintedWhole();
        if (shown != repainted)
            QFAIL(qPrintable("the screen differs from a whole repaint within " +
                             Differing(shown, repainted)));
    }

    static QString Differing(const QImage& a, const QImage& b) {
        QRect wrong;
        for (int y = 0; y < std::min(a.height(), b.height()); ++y)
            for (int x = 0; x < std::min(a.width(), b.width()); ++x)
                if (a.pixel(x, y) != b.pixel(x, y))
                    wrong |= QRect(x, y, 1, 1);
        return QString("%1,%2 %3x%4")
            .arg(wrong.x())
            .arg(wrong.y())
            .arg(wrong.width())
            .arg(wrong.height());
    }

    // Another window moves away: the platform asks for the uncovered part alone, which the
    // window shows again as it was; or the part is repainted from the drawing, which meets only
    // the curves whose kept extents say they reach it.
    void Expose() {
        const QRect part = SomePart();
        if (Chance(50)) {
            const CRect invalid(part.left(), part.top(), part.right() + 1, part.bottom() + 1);
            h->view->InvalidateRect(&invalid);
            return;
        }
        QWindow* window = h->Widget()->window()->windowHandle();
        const QRect uncovered =
            part.translated(h->Widget()->mapTo(h->Widget()->window(), QPoint(0, 0)));
        QExposeEvent expose(QRegion(uncovered) & QRegion(QRect(QPoint(), window->size())));
        QCoreApplication::sendEvent(window, &expose);
    }

    // Sends a drag of a record over the view's window, then drops it or leaves. Sometimes a part
    // of the window is still to be repainted when the outline is first drawn.
    void DragOver() {
        if (Chance(30)) {
            const QRect part = SomePart();
            const CRect pending(part.left(), part.top(), part.right() + 1, part.bottom() + 1);
            h->view->InvalidateRect(&pending);
        }
        m_mime.clear();
        m_mime.setData("Tav.Swoop", Record());
        const Qt::KeyboardModifiers keys = Chance(50) ? Qt::ControlModifier : Qt::NoModifier;
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        auto inside = [&] { return QPoint(Uniform(0, kWidth - 1), Uniform(0, kHeight - 1)); };
        QDragEnterEvent enter(inside(), actions, &m_mime, Qt::LeftButton, keys);
        QCoreApplication::sendEvent(h->Widget(), &enter);
        for (int moves = Uniform(0, 3); moves > 0; --moves) {
            QDragMoveEvent move(inside(), actions, &m_mime, Qt::LeftButton, keys);
            QCoreApplication::sendEvent(h->Widget(), &move);
        }
        if (Chance(25)) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(h->Widget(), &leave);
        } else {
            QDropEvent drop(inside(), actions, &m_mime, Qt::NoButton, keys);
            QCoreApplication::sendEvent(h->Widget(), &drop);
        }
        QVERIFY(h->view->m_pFeedback == nullptr);
    }

    // The wheel, a touchpad or a scroll bar moves the window over the drawing.
    void Scroll() {
        const QPointF at(Uniform(0, kWidth - 1), Uniform(0, kHeight - 1));
        switch (Uniform(0, 3)) {
        case 0:
        case 1: {
            const bool touchpad = Chance(50);
            const QPoint delta(Chance(30) ? Uniform(-300, 300) : 0, Uniform(-300, 300));
            const Qt::KeyboardModifiers keys = Chance(30) ? Qt::ShiftModifier : Qt::NoModifier;
            QWheelEvent wheel(at, h->Widget()->mapToGlobal(at), touchpad ? delta : QPoint(),
                              touchpad ? QPoint() : delta / 40 * 40, Qt::NoButton, keys,
                              Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(h->Widget(), &wheel);
            break;
        }
        case 2:
            h->view->ScrollBy(Uniform(-kWidth, kWidth), Uniform(-kHeight, kHeight));
            break;
        default:
            h->view->ScrollTo(Uniform(-2000, 2000), Uniform(-2000, 2000));
            break;
        }
    }

    // Zooms about the pointer or the window's middle, between 1/4 and 8, or back to 100%.
    void Zoom() {
        CSwoop2View* v = h->view;
        const int step = v->GetZoomStep() + (Chance(50) ? 1 : -1);
        if (Chance(10)) {
            h->frame.ExecuteCommand(ID_VIEW_ACTUAL_SIZE);
        } else if (step < -4 || step > 6) {
            return;
        } else if (Chance(50)) {
            h->frame.ExecuteCommand(step > v->GetZoomStep() ? ID_VIEW_ZOOM_IN : ID_VIEW_ZOOM_OUT);
        } else {
            const QPointF at(Uniform(0, kWidth - 1), Uniform(0, kHeight - 1));
            const int notches = step > v->GetZoomStep() ? 120 : -120;
            QWheelEvent wheel(at, h->Widget()->mapToGlobal(at), QPoint(), QPoint(0, notches),
                              Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
            QCoreApplication::sendEvent(h->Widget(), &wheel);
        }
    }

    QString File() { return m_dir.filePath(QString("drawing-%1").arg(Uniform(0, 2))); }

    // The history starts anew, or the drawing is saved: either is the drawing saved from now.
    void NoteSaved(bool newHistory) {
        if (newHistory)
            m_historyStart = Fingerprint(h->doc);
        m_savedBytes = Stored(h->doc);
        m_savedAt = h->doc.GetHistory().DoneCount();
        m_savedReachable = true;
    }

    void Save() {
        const QString path = File();
        QVERIFY(h->doc.OnSaveDocument(path.toStdString()));
        m_saved = PointsOf(h->doc);
        m_lastSaved = path;
        NoteSaved(false);
    }

    void Open() {
        if (m_lastSaved.isEmpty())
            return;
        QVERIFY(h->doc.OnOpenDocument(m_lastSaved.toStdString()));
        NoteSaved(true);
        QVERIFY(h->doc.m_pSelected == nullptr);
        QCOMPARE(PointsOf(h->doc), m_saved);
        for (const auto& curve : h->doc.m_curves)
            QVERIFY(!curve->m_bClosed);
    }

    void Act(int kind) {
        CSwoop2View* v = h->view;
        switch (kind) {
        case 0:
        case 1:
        case 2:
        case 3:
            v->OnLButtonDown(MK_LBUTTON, Chance(50) ? Point() : PointNearSelection());
            // A press with the Select tool may leave a drag of the whole curve pending: the
            // run lets go instead, since a real drag would wait for a desktop.
            if (v->m_bDragPending && !v->m_bMovingPoint)
                v->OnLButtonUp(0, Point());
            break;
        case 4:
            v->OnRButtonDown(MK_RBUTTON, Point());
            break;
        case 5:
            h->frame.ExecuteCommand(Chance(50) ? ID_CURVES_DRAW : ID_CURVES_SELECT);
            break;
        case 6:
        case 7:
            if (v->m_bMovingPoint)
                v->OnMouseMove(MK_LBUTTON, PointNearSelection());
            else
                v->OnMouseMove(0, Point());
            break;
        case 8:
            v->OnLButtonUp(0, Point());
            break;
        case 9:
            if (Enabled(ID_EDIT_COPY))
                h->frame.ExecuteCommand(ID_EDIT_COPY);
            break;
        case 10:
            if (Enabled(ID_EDIT_CUT))
                h->frame.ExecuteCommand(ID_EDIT_CUT);
            break;
        case 11:
            if (Enabled(ID_EDIT_PASTE))
                h->frame.ExecuteCommand(ID_EDIT_PASTE);
            break;
        case 12:
            DragOver();
            break;
        case 13:
            if (Chance(20) || h->doc.m_curves.size() > 40) {
                QVERIFY(h->doc.OnNewDocument());
                NoteSaved(true);
            }
            break;
        case 14:
            if (Chance(30))
                Save();
            break;
        case 15:
            if (Chance(30))
                Open();
            break;
        case 16:
            Expose();
            break;
        case 17:
        case 18:
            if (Enabled(ID_EDIT_UNDO))
                h->frame.ExecuteCommand(ID_EDIT_UNDO);
            break;
        case 19:
            if (Enabled(ID_EDIT_REDO))
                h->frame.ExecuteCommand(ID_EDIT_REDO);
            break;
        case 20:
            if (Enabled(ID_EDIT_CLEAR))
                h->frame.ExecuteCommand(ID_EDIT_CLEAR);
            break;
        case 21:
            Scroll();
            break;
        case 22:
            Zoom();
            break;
        case 24:
            // Shift+click adds or takes out; on empty space it starts a band that adds.
            v->OnLButtonDown(MK_LBUTTON | MK_SHIFT, Point());
            v->OnLButtonUp(0, Point());
            break;
        case 25: {
            // A band, held over a few moves and let go, or given up with Escape.
            h->frame.ExecuteCommand(ID_CURVES_SELECT);
            v->OnLButtonDown(MK_LBUTTON | (Chance(30) ? MK_SHIFT : 0), Point());
            for (int moves = Uniform(1, 3); moves > 0; --moves)
                v->OnMouseMove(MK_LBUTTON, Point());
            if (Chance(20))
                h->frame.ExecuteCommand(ID_VIEW_CANCEL);
            v->OnLButtonUp(0, Point());
            break;
        }
        case 26: {
            static constexpr UINT kNudges[] = {
                ID_NUDGE_LEFT,     ID_NUDGE_RIGHT,  ID_NUDGE_UP,       ID_NUDGE_DOWN,
                ID_NUDGE_FAR_LEFT, ID_NUDGE_FAR_UP, ID_NUDGE_FAR_DOWN, ID_NUDGE_FAR_RIGHT};
            for (int nudges = Uniform(1, 4); nudges > 0; --nudges) {
                const UINT id = kNudges[Uniform(0, 7)];
                if (Enabled(id))
                    h->frame.ExecuteCommand(id);
            }
            break;
        }
        case 27: {
            static constexpr UINT kArrange[] = {ID_ARRANGE_BRING_TO_FRONT, ID_ARRANGE_BRING_FORWARD,
                                                ID_ARRANGE_SEND_BACKWARD, ID_ARRANGE_SEND_TO_BACK};
            const UINT id = kArrange[Uniform(0, 3)];
            if (Enabled(id))
                h->frame.ExecuteCommand(id);
            break;
        }
        case 28: {
            static constexpr UINT kKeys[] = {ID_EDIT_SELECT_ALL, ID_VIEW_CANCEL, ID_CURVES_END};
            const UINT id = kKeys[Uniform(0, 2)];
            if (Enabled(id))
                h->frame.ExecuteCommand(id);
            break;
        }
        case 23:
        default:
            // Lets the window paint what the actions changed.
            QCoreApplication::processEvents();
            break;
        }
    }

    void CheckInvariants() {
        const CSwoop2Doc& doc = h->doc;
        std::set<const CCurve*> held;
        for (const auto& curve : doc.m_curves) {
            QVERIFY(curve != nullptr);
            QVERIFY(held.insert(curve.get()).second);
        }
        QVERIFY(doc.m_pSelected == nullptr || held.count(doc.m_pSelected) == 1);
        // Every other selected curve is held too, and there are others only beside a current.
        for (const CCurve* other : doc.OtherSelected())
            QVERIFY(held.count(other) == 1 && other != doc.m_pSelected);
        QVERIFY(doc.m_pSelected != nullptr || doc.OtherSelected().empty());

        CSwoop2Doc reloaded;
        const std::vector<std::byte> bytes = Stored(h->doc);
        CMemFile file(bytes.data(), bytes.size());
        CArchive ar(&file, CArchive::load);
        reloaded.Serialize(ar);
        QCOMPARE(PointsOf(reloaded), PointsOf(doc));

        // Clear exactly at the place of the last save, and only where the drawing is the one
        // saved.
        QCOMPARE(doc.IsModified(), !doc.GetHistory().IsClean());
        if (!doc.IsModified())
            QVERIFY(bytes == m_savedBytes);
        if (m_savedReachable && doc.GetHistory().DoneCount() == m_savedAt)
            QVERIFY(!doc.IsModified());
    }

    // An edit at or below the place of the last save takes away the way back to it.
    void FollowSavedPlace(int kind, std::size_t doneBefore, std::size_t stepsBefore,
                          bool drawingChanged) {
        if (kind == 13 || kind == 14 || kind == 15 || kind == 17 || kind == 18 || kind == 19)
            return;
        const CUndoStack& history = h->doc.GetHistory();
        const bool edited = drawingChanged || history.DoneCount() != doneBefore ||
                            history.StepCount() != stepsBefore;
        if (edited && history.DoneCount() <= m_savedAt)
            m_savedReachable = false;
    }

    // Undoing every step gives the drawing the history began with, and redoing them all the
    // drawing as it was. Not while a point is held: its drag is still one step in the making.
    void CheckHistory() {
        if (h->view->m_bMovingPoint)
            return;
        CSwoop2Doc& doc = h->doc;
        const std::vector<std::byte> now = Fingerprint(doc);
        CCurve* selected = doc.m_pSelected;
        const std::vector<CCurve*> selection = doc.Selection();
        std::size_t undone = 0;
        while (doc.Undo())
            ++undone;
        QVERIFY(Fingerprint(doc) == m_historyStart);
        for (std::size_t i = 0; i < undone; ++i)
            QVERIFY(doc.Redo());
        QVERIFY(Fingerprint(doc) == now);
        // The selection the run had before, so that the check leaves the run as it found it.
        if (selection.size() > 1 || doc.SelectedCount() > 1) {
            doc.SelectCurves(selection, false);
            doc.MakeCurrent(selected);
        } else if (doc.m_pSelected != selected) {
            CRect part = doc.m_pSelected ? ChangedPart::Handles(*doc.m_pSelected) : CRect();
            const CRect shown = selected ? ChangedPart::Handles(*selected) : CRect();
            UnionRect(&part, &part, &shown);
            doc.m_pSelected = selected;
            doc.UpdateAllViews(nullptr, HINT_UPDATE_RECT, &part);
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(AfxOleInit());
        QVERIFY(m_dir.isValid());
        SetMessageBoxHook([this](const std::string&, UINT) {
            ++m_messages;
            return IDOK;
        });
    }

    void cleanupTestCase() { SetMessageBoxHook({}); }

    void thousandsOfActionsKeepTheDocumentWhole() {
        const int operations = qEnvironmentVariableIntValue("SWOOP2_SOAK_OPERATIONS") > 0
                                   ? qEnvironmentVariableIntValue("SWOOP2_SOAK_OPERATIONS")
                                   : 6000;
        const unsigned seed = qEnvironmentVariableIsSet("SWOOP2_SOAK_SEED")
                                  ? unsigned(qEnvironmentVariableIntValue("SWOOP2_SOAK_SEED"))
                                  : 20261207u;
        m_rng.seed(seed);
        h = std::make_unique<ViewHarness>(kWidth, kHeight);
        // The view starts between two pixels where the ratio is fractional, as below a menu.
        h->frame.GetWidget()->setContentsMargins(1, 3, 0, 0);
        NoteSaved(true);
        h->frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->frame.GetWidget()));

        // How often each kind of action changed the drawing or the selection, so that a run
        // whose actions all fell flat shows as such.
        constexpr int kKinds = 29;
        int changed[kKinds] = {};
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < operations; ++i) {
            const int kind = Uniform(0, kKinds - 1);
            const std::vector<std::byte> before = Fingerprint(h->doc);
            const CCurve* selectedBefore = h->doc.m_pSelected;
            const std::uint64_t selectionChangesBefore = h->doc.SelectionChangeCount();
            const std::size_t doneBefore = h->doc.GetHistory().DoneCount();
            const std::size_t stepsBefore = h->doc.GetHistory().StepCount();
            Act(kind);
            const bool drawingChanged = Fingerprint(h->doc) != before;
            if (drawingChanged || h->doc.m_pSelected != selectedBefore ||
                h->doc.SelectionChangeCount() != selectionChangesBefore)
                ++changed[kind];
            FollowSavedPlace(kind, doneBefore, stepsBefore, drawingChanged);
            if (QTest::currentTestFailed())
                QFAIL(
                    qPrintable(QString("seed %1, action %2 (kind %3)").arg(seed).arg(i).arg(kind)));
            CheckInvariants();
            CheckHistory();
            CheckPicture();
            if (QTest::currentTestFailed())
                QFAIL(qPrintable(
                    QString("seed %1, after action %2 (kind %3)").arg(seed).arg(i).arg(kind)));
        }
        QCOMPARE(m_messages, 0);
        QStringList counts;
        for (int kind = 0; kind < kKinds; ++kind)
            counts << QString::number(changed[kind]);
        qInfo("actions that changed something, by kind: %s", qPrintable(counts.join(' ')));
        // Presses, drags, Cut, Paste, drops, New, Open, Undo, Redo and Delete must each have had
        // their effect.
        for (int kind : {0, 4, 6, 10, 11, 12, 13, 15, 17, 19, 20, 24, 25, 26, 27})
            QVERIFY2(changed[kind] > 0,
                     qPrintable(QString("kind %1 never had an effect").arg(kind)));
        qInfo("seed %u: %d actions in %lld ms, %zu curves at the end", seed, operations,
              timer.elapsed(), h->doc.m_curves.size());
        h.reset();
    }
};

QTEST_MAIN(SoakTest)
#include "SoakTest.moc"
