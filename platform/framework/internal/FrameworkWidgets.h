#pragma once

// The Qt widgets behind the framework's windows. Only the framework's own sources include
// this header.

#include "platform/Types.h"
#include "platform/framework/internal/IdleUpdate.h"

#include <QMainWindow>
#include <QScrollBar>
#include <QString>
#include <QTimer>
#include <QWidget>

#include <string>

class CFrameWnd;
class CView;

// Qt reads "[*]" in a window title as the place of its modified marker and drops it; a title
// given to Qt goes through the first, and one read back through the second, so that file names
// holding those three characters show as they are.
QString AfxQtWindowTitle(const std::string& text);
std::string AfxTitleFromQt(const QString& title);

// The main window behind a CFrameWnd: closing it asks the frame.
class CFrameWidget : public QMainWindow {
public:
    explicit CFrameWidget(CFrameWnd* pFrame);
    void Detach() { m_pFrame = nullptr; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CFrameWnd* m_pFrame;
};

// The window behind a CView: shows the view's backing image and turns Qt's mouse events into
// the view's messages, with scroll bars over its right and bottom edges when the drawing does
// not fit.
class CViewWidget : public QWidget {
public:
    CViewWidget(CView* pView, QWidget* parent);
    void Detach() { m_pView = nullptr; }
    CView* View() const { return m_pView; }

    QScrollBar* HorizontalBar() const { return m_hBar; }
    // Runs once edits have paused, to ask the drawing's extent afresh.
    QTimer* ExtentCheck() { return &m_extentCheck; }
    QScrollBar* VerticalBar() const { return m_vBar; }
    // What the scroll bars shown leave uncovered of the view's image.
    QSize ViewportSize() const;
    // Shows or hides the bars, and places them; true when what they cover changed.
    bool ShowBars(bool horizontal, bool vertical);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    CView* m_pView;
    QScrollBar* m_hBar;
    QScrollBar* m_vBar;
    // Wheel travel not yet turned into a zoom step.
    int m_zoomTravel = 0;
    // Auto-scroll: steps while the pointer stays near or beyond an edge during a gesture that
    // follows it, with where the pointer was and the keys and buttons then.
    QTimer m_autoScroll;
    QTimer m_extentCheck;
    QPoint m_autoScrollAt;
    UINT m_autoScrollFlags = 0;

    void FollowEdges(QMouseEvent* event);
    void AutoScrollTick();

    void PlaceBars();

    void Deliver(unsigned message, QMouseEvent* event);
};

// The side a toolbar docks on for the given CBRS_ALIGN_ bits: the first that they allow of top,
// bottom, left and right, the order in which a frame offers its sides; the top when they allow
// none.
Qt::ToolBarArea AfxDockArea(DWORD dwAlign);

// Marks a menu action or button with the command it sends.
inline constexpr const char* kCommandIdProperty = "afxCommandId";

void AfxRegisterFrame(CFrameWnd* pFrame);
void AfxUnregisterFrame(CFrameWnd* pFrame);
