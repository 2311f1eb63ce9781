#pragma once

class QWidget;

// A window of the framework. The Qt widget behind it exists from creation to destruction.
class CWnd {
public:
    CWnd() = default;
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;
    virtual ~CWnd() = default;

    QWidget* GetWidget() const { return m_pWidget; }

protected:
    QWidget* m_pWidget = nullptr;
};
