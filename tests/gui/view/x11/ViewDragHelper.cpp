// The view with one curve, the Select tool chosen and the window at a known place, printing
// the document's state whenever it changes, so that a script can drag the curve with the
// pointer and read the outcome. With --drop-fails every drop runs out of memory, so that the
// framework's message box opens inside the drag; with --stacked two more curves lie above it,
// away from where the script drags.

#include "ViewHarness.h"

#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDropTarget.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstring>
#include <new>

namespace {

class FailingDropTarget : public COleDropTarget {
public:
    bool OnDrop(CWnd*, COleDataObject*, DROPEFFECT, CPoint) override { throw std::bad_alloc(); }
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (!AfxOleInit())
        return 1;
    ViewHarness h(400, 300);
    const std::vector<CPoint> original = {{100, 100}, {200, 100}, {200, 160}, {100, 160}};
    CCurve* curve = h.Add({}, false);
    curve->m_points = original;
    h.view->m_nTool = CSwoop2View::kToolSelect;
    h.frame.SetTitle("ViewDrag");
    h.frame.GetWidget()->setWindowTitle("ViewDrag");
    h.frame.GetWidget()->move(0, 0);
    h.frame.GetWidget()->show();
    FailingDropTarget failing;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--drop-fails") == 0) {
            h.view->m_dropTarget.Revoke();
            failing.Register(h.view);
        }
        if (std::strcmp(argv[i], "--stacked") == 0) {
            h.Add({{300, 20}, {380, 20}, {380, 60}});
            h.Add({{20, 220}, {80, 220}, {80, 280}});
        }
    }

    // The state line: the curve count, then per curve its offset from the original shape (or
    // "other"), "c" or "o", and '*' when selected; then the tool.
    QString last;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        QStringList parts{QString::number(h.doc.m_curves.size())};
        for (const auto& c : h.doc.m_curves) {
            QString text = "other";
            if (c->m_points.size() == original.size()) {
                const CPoint d = c->m_points[0] - original[0];
                bool same = true;
                for (std::size_t i = 0; i < original.size(); ++i)
                    same = same && c->m_points[i] - original[i] == d;
                if (same)
                    text = QString("%1,%2").arg(d.x).arg(d.y);
            }
            text += c->m_bClosed ? " c" : " o";
            if (c.get() == h.doc.m_pSelected)
                text += '*';
            parts << text;
        }
        parts << (h.view->m_nTool == CSwoop2View::kToolSelect ? "select" : "draw");
        const QString state = parts.join(' ');
        if (state != last) {
            last = state;
            std::printf("state %s\n", qPrintable(state));
            std::fflush(stdout);
        }
    });
    timer.start(50);
    return app.exec();
}
