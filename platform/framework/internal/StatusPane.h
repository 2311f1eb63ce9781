#pragma once

// Platform-internal: a status-bar pane of the program's own.

#include <QFrame>
#include <QString>

// A pane whose text an update handler sets after every input event: the pointer's place changes
// with each move. It repaints only itself and asks the bar to lay out its panes again only when
// a text comes that is wider than any before, so that a move costs no layout.
class CStatusPane : public QFrame {
    Q_OBJECT
public:
    // The pane is at least as wide as the text given.
    CStatusPane(const QString& widest, QWidget* parent);

    const QString& Text() const { return m_text; }
    void SetText(const QString& text);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    int m_nTextWidth = 0;

    int WidthOf(const QString& text) const;
};
