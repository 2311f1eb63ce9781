#pragma once

// The Qt widgets behind the framework's windows. Only the framework's own sources include
// this header.

#include "platform/Types.h"
#include "platform/framework/internal/IdleUpdate.h"

#include <QMainWindow>
#include <QString>
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
// the view's messages.
class CViewWidget : public QWidget {
public:
    CViewWidget(CView* pView, QWidget* parent);
    void Detach() { m_pView = nullptr; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    CView* m_pView;

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
