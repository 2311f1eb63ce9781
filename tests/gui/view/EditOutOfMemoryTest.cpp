// Each allocation of an edit fails in turn, the first, then the second, and so on until the edit
// goes through, with the window showing the drawing: the program reports the failure and goes
// on, and then the drawing, the selection, the history and the window must still agree. Run it
// under the sanitizer build, which catches a curve that is read after it was freed.

#include "ViewHarness.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxRes.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CMemFile.h"
#include "platform/framework/GuardedCall.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/OleConstants.h"

#include <QMimeData>
#include <QtEndian>
#include <QtTest>

#include <cstdlib>
#include <functional>
#include <new>
#include <set>
#include <thread>

// The allocation seam: while armed, the allocation that brings the countdown to zero fails, on
// the thread that armed it only.
namespace {
long g_countdown = 0;
std::thread::id g_armedThread;
} // namespace

// Every form of new and delete that the sanitizer's runtime would otherwise answer goes through
// the seam, so that what one of them allocates the other frees.
void* operator new(std::size_t size) {
    if (g_countdown > 0 && std::this_thread::get_id() == g_armedThread && --g_countdown == 0)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}

// Qt itself loses the region it was making when the allocation inside a repaint request fails;
// that is Qt's, and nothing this program can free.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:QRegion::QRegion\n";
}

namespace {

std::vector<std::byte> Stored(CSwoop2Doc& doc) {
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    std::vector<std::byte> bytes = file.GetData();
    for (const auto& curve : doc.m_curves)
        bytes.push_back(std::byte(curve->m_bClosed));
    return bytes;
}

QByteArray Record(const std::vector<CPoint>& points) {
    QByteArray bytes(4 + 8 * qsizetype(points.size()), '\0');
    qToLittleEndian(quint32(bytes.size()), bytes.data());
    for (std::size_t i = 0; i < points.size(); ++i) {
        qToLittleEndian(quint32(points[i].x), bytes.data() + 4 + 8 * i);
        qToLittleEndian(quint32(points[i].y), bytes.data() + 8 + 8 * i);
    }
    return bytes;
}

} // namespace

class EditOutOfMemoryTest : public QObject {
    Q_OBJECT

    std::unique_ptr<ViewHarness> h;
    QMimeData m_mime;
    int m_messages = 0;

    // Three curves, the middle one selected, and one step in the history already; the window
    // has painted, so that its layer of settled curves is kept.
    void Start() {
        h = std::make_unique<ViewHarness>();
        h->Add({{20, 20}, {120, 30}, {90, 110}, {30, 90}, {10, 50}});
        h->Add({{60, 60}, {200, 70}, {180, 160}, {80, 150}});
        h->Add({{150, 20}, {300, 40}, {250, 120}});
        h->doc.SetModifiedFlag(false);
        h->view->m_nTool = CSwoop2View::kToolSelect;
        CSwoop2View* v = h->view;
        v->OnLButtonDown(MK_LBUTTON, {70, 80});
        v->OnLButtonUp(0, {70, 80});
        v->OnLButtonDown(MK_LBUTTON, {200, 70});
        v->OnMouseMove(MK_LBUTTON, {205, 76});
        v->OnLButtonUp(0, {205, 76});
        h->frame.GetWidget()->show();
        QVERIFY(QTest::qWaitForWindowExposed(h->frame.GetWidget()));
        QCoreApplication::processEvents();
        h->view->UpdateWindow();
    }

    // The drag's events are made before any allocation fails: they stand for the platform's.
    void PrepareDrop(QPoint at) {
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        m_enter =
            std::make_unique<QDragEnterEvent>(at, actions, &m_mime, Qt::LeftButton, Qt::NoModifier);
        m_move = std::make_unique<QDragMoveEvent>(at + QPoint(7, 5), actions, &m_mime,
                                                  Qt::LeftButton, Qt::NoModifier);
        m_drop = std::make_unique<QDropEvent>(at + QPoint(7, 5), actions, &m_mime, Qt::NoButton,
                                              Qt::NoModifier);
    }
    void Drop() {
        QCoreApplication::sendEvent(h->Widget(), m_enter.get());
        QCoreApplication::sendEvent(h->Widget(), m_move.get());
        QCoreApplication::sendEvent(h->Widget(), m_drop.get());
    }
    std::unique_ptr<QDragEnterEvent> m_enter;
    std::unique_ptr<QDragMoveEvent> m_move;
    std::unique_ptr<QDropEvent> m_drop;

    void CheckWhole() {
        const CSwoop2Doc& doc = h->doc;
        std::set<const CCurve*> held;
        for (const auto& curve : doc.m_curves)
            QVERIFY(held.insert(curve.get()).second);
        QVERIFY(doc.m_pSelected == nullptr || held.count(doc.m_pSelected) == 1);

        // The window shows what a repaint of everything shows.
        QCoreApplication::processEvents();
        h->view->UpdateWindow();
        const QImage shown = h->view->GetBackingImage()->convertToFormat(QImage::Format_RGB32);
        QVERIFY(shown == h->Render());

        const std::vector<std::byte> now = Stored(h->doc);
        // Whatever happened, the history leads back to where it started and forward again.
        QVERIFY(h->doc.IsModified() == !h->doc.GetHistory().IsClean());
        std::size_t undone = 0;
        while (h->doc.Undo())
            ++undone;
        if (h->doc.GetHistory().IsClean())
            QVERIFY(!h->doc.IsModified());
        for (std::size_t i = 0; i < undone; ++i)
            QVERIFY(h->doc.Redo());
        QVERIFY(Stored(h->doc) == now);
        h->view->UpdateWindow();
        QVERIFY(h->view->GetBackingImage()->convertToFormat(QImage::Format_RGB32) == h->Render());
    }

    // Runs the edit with its first, second, ... allocation failing, on a fresh window each time,
    // until it runs through with none failing.
    void FailEachAllocation(const std::function<void()>& edit,
                            const std::function<void()>& prepare = {}) {
        const int messagesBefore = m_messages;
        for (long n = 1;; ++n) {
            Start();
            if (QTest::currentTestFailed())
                return;
            if (prepare)
                prepare();
            g_armedThread = std::this_thread::get_id();
            g_countdown = n;
            edit();
            const bool failed = g_countdown == 0;
            g_countdown = 0;
            CheckWhole();
            if (QTest::currentTestFailed()) {
                qWarning("with allocation %ld failing", n);
                return;
            }
            h.reset();
            if (!failed) {
                // The failures were told to the user, and the program went on.
                QVERIFY(n == 1 || m_messages > messagesBefore);
                qInfo("%ld allocations failed in turn", n - 1);
                return;
            }
            QVERIFY(n < 10000);
        }
    }

    void Command(UINT id) { h->frame.ExecuteCommand(id); }

private slots:
    void initTestCase() {
        QVERIFY(AfxOleInit());
        SetMessageBoxHook([this](const std::string&, UINT) {
            ++m_messages;
            return IDOK;
        });
    }
    void cleanupTestCase() { SetMessageBoxHook({}); }

    void cutDeleteAndPasteLeaveNoFreedCurveBehind() {
        FailEachAllocation([this] { Command(ID_EDIT_CUT); });
        FailEachAllocation([this] { Command(ID_EDIT_CLEAR); });
        FailEachAllocation([this] { Command(ID_EDIT_PASTE); }, [this] { Command(ID_EDIT_COPY); });
    }

    void aDropLeavesTheDrawingWhole() {
        m_mime.setData("Tav.Swoop", Record({{0, 0}, {40, 10}, {30, 40}, {5, 30}}));
        FailEachAllocation([this] { Drop(); }, [this] { PrepareDrop({230, 150}); });
    }

    void aPointDragLeavesTheDrawingWhole() {
        FailEachAllocation([this] {
            CSwoop2View* v = h->view;
            AfxCallGuarded([&] { v->OnLButtonDown(MK_LBUTTON, {90, 150}); });
            AfxCallGuarded([&] { v->OnMouseMove(MK_LBUTTON, {95, 160}); });
            AfxCallGuarded([&] { v->OnMouseMove(MK_LBUTTON, {110, 170}); });
            AfxCallGuarded([&] { v->OnLButtonUp(0, {110, 170}); });
        });
    }

    void undoAndRedoLeaveTheDrawingWhole() {
        FailEachAllocation(
            [this] {
                Command(ID_EDIT_UNDO);
                Command(ID_EDIT_REDO);
            },
            [this] { Command(ID_EDIT_CUT); });
    }
};

QTEST_MAIN(EditOutOfMemoryTest)
#include "EditOutOfMemoryTest.moc"
