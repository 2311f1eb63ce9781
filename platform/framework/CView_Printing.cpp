#include "platform/framework/AfxRes.h"
#include "platform/framework/CPrintInfo.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/GuardedCall.h"
#include "platform/framework/internal/ResourcesQt.h"
#include "platform/gdi/CDC.h"

#include <QAction>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QToolBar>
#include <QWidget>

namespace {

QPrinter* ThePrinter() {
    CWinApp* app = AfxGetApp();
    return app != nullptr ? app->GetPrinter() : nullptr;
}

// Qt's preview closes only by its window's close box or Escape; a Close button at the end of its
// toolbar says what it does in the tooltip and the status text the program's strings give.
void AddCloseButton(QPrintPreviewDialog& preview) {
    auto* toolBar = preview.findChild<QToolBar*>();
    if (toolBar == nullptr)
        return;
    toolBar->addSeparator();
    QAction* close = toolBar->addAction(QObject::tr("&Close"), &preview, &QDialog::reject);
    close->setObjectName(QStringLiteral("previewClose"));
    const QString tip = AfxCommandTip(AFX_IDS_PREVIEW_CLOSE);
    if (!tip.isEmpty())
        close->setToolTip(tip);
    close->setStatusTip(AfxCommandPrompt(AFX_IDS_PREVIEW_CLOSE));
}

} // namespace

bool CView::OnPreparePrinting(CPrintInfo* pInfo) {
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrint(CDC* pDC, CPrintInfo*) {
    OnDraw(pDC);
}

bool CView::DoPreparePrinting(CPrintInfo* pInfo) {
    QPrinter* printer = ThePrinter();
    if (pInfo == nullptr || printer == nullptr)
        return false;
    pInfo->m_pPrinter = printer;
    // A preview and a direct print ask nothing.
    if (pInfo->m_bPreview || pInfo->m_bDirect)
        return true;
    QPrintDialog dialog(printer, m_pWidget != nullptr ? m_pWidget->window() : nullptr);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    return dialog.exec() == QDialog::Accepted;
}

// One page: no page count is set, so a job prints exactly one. One logical unit is one
// printer dot.
void CView::PrintPage(QPrinter* printer, CPrintInfo* pInfo) {
    QPainter painter;
    if (!painter.begin(printer))
        return;
    const QRect page = printer->pageLayout().paintRectPixels(printer->resolution());
    pInfo->m_rectDraw = CRect(0, 0, page.width(), page.height());
    pInfo->m_nCurPage = 1;
    CDC dc;
    dc.AttachPainter(&painter);
    OnBeginPrinting(&dc, pInfo);
    OnPrepareDC(&dc, pInfo);
    OnPrint(&dc, pInfo);
    OnEndPrinting(&dc, pInfo);
    painter.end();
}

void CView::OnFilePrint() {
    CPrintInfo info;
    if (!OnPreparePrinting(&info) || info.m_pPrinter == nullptr)
        return;
    PrintPage(info.m_pPrinter, &info);
}

void CView::OnFilePrintPreview() {
    CPrintInfo info;
    info.m_bPreview = true;
    if (!OnPreparePrinting(&info) || info.m_pPrinter == nullptr)
        return;
    QPrintPreviewDialog preview(info.m_pPrinter,
                                m_pWidget != nullptr ? m_pWidget->window() : nullptr);
    QObject::connect(
        &preview, &QPrintPreviewDialog::paintRequested, &preview,
        [&](QPrinter* printer) { AfxCallGuarded([&] { PrintPage(printer, &info); }); });
    AddCloseButton(preview);
    preview.exec();
}
