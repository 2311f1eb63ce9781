#include "platform/framework/ShownTextLog.h"

#include "platform/framework/internal/FrameworkWidgets.h"
#include "platform/framework/internal/StatusPane.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QMap>
#include <QMenu>
#include <QPointer>
#include <QScrollBar>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <string>

namespace {

class ShownTextLog : public QObject {
public:
    explicit ShownTextLog(const QString& path) : m_file(path) {
        m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
        m_geometryTimer.setSingleShot(true);
        m_geometryTimer.setInterval(300);
        connect(&m_geometryTimer, &QTimer::timeout, this, [this] {
            if (!m_window.isNull())
                WriteGeometry(m_window);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::ToolTip:
            // Only a tooltip that is still up a moment later counts as shown.
            QTimer::singleShot(200, this, [this] {
                if (QToolTip::isVisible())
                    Write(QStringLiteral("tooltip: ") + QToolTip::text());
            });
            break;
        case QEvent::Show:
            if (auto* main = qobject_cast<QMainWindow*>(watched); main != nullptr)
                Watch(main);
            break;
        case QEvent::Paint:
            if (!m_bPainted && watched->isWidgetType() && !m_window.isNull() &&
                static_cast<QWidget*>(watched)->window() == m_window.data()) {
                m_bPainted = true;
                Write(QStringLiteral("painted"));
            }
            break;
        case QEvent::Move:
        case QEvent::Resize:
            // A toolbar that floats or docks moves on its own, and its buttons with it.
            if (watched == m_window.data() ||
                (qobject_cast<QToolBar*>(watched) != nullptr &&
                 static_cast<QWidget*>(watched)->parentWidget() == m_window.data()))
                m_geometryTimer.start();
            break;
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

public:
    void WatchWindow(QMainWindow* main) { Watch(main); }

private:
    QFile m_file;
    QPointer<QMainWindow> m_window;
    QTimer m_geometryTimer;
    QTimer m_panesTimer;
    QString m_panes;
    QMap<unsigned, QString> m_programPanes;
    bool m_bPainted = false;

    void Write(const QString& line) {
        QTextStream(&m_file) << line << '\n';
        m_file.flush();
    }

    void Watch(QMainWindow* main) {
        if (m_window == main)
            return;
        m_window = main;
        QStatusBar* bar = main->statusBar();
        Write(QStringLiteral("status: ") + bar->currentMessage());
        connect(bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
            if (!text.isEmpty())
                Write(QStringLiteral("status: ") + text);
        });
        // The key-state panes change on their own timer; they are read as often.
        m_panesTimer.disconnect();
        connect(&m_panesTimer, &QTimer::timeout, this, [this, bar = QPointer<QStatusBar>(bar)] {
            if (!bar.isNull())
                WritePanes(bar);
        });
        m_panesTimer.start(100);
        for (QMenu* menu : main->findChildren<QMenu*>()) {
            // Queued, so that the framework has brought the items up to date first.
            connect(
                menu, &QMenu::aboutToShow, this,
                [this, menu] {
                    QStringList items{menu->title()};
                    QStringList grayed{menu->title()};
                    for (QAction* action : menu->actions()) {
                        items << (action->isSeparator() ? QStringLiteral("-") : action->text());
                        if (!action->isSeparator() && !action->isEnabled())
                            grayed << action->text();
                    }
                    Write(QStringLiteral("menu: ") + items.join(QLatin1Char('|')));
                    Write(QStringLiteral("grayed: ") + grayed.join(QLatin1Char('|')));
                },
                Qt::QueuedConnection);
        }
        if (QWidget* view = main->centralWidget(); view != nullptr) {
            const QList<QScrollBar*> bars = view->findChildren<QScrollBar*>();
            for (QScrollBar* bar : bars)
                connect(bar, &QScrollBar::valueChanged, this, [this, bars] { WriteScroll(bars); });
        }
        m_geometryTimer.start();
    }

    void WriteScroll(const QList<QScrollBar*>& bars) {
        int values[2] = {};
        for (QScrollBar* bar : bars)
            values[bar->orientation() == Qt::Horizontal ? 0 : 1] = bar->value();
        Write(QStringLiteral("scroll: %1 %2").arg(values[0]).arg(values[1]));
    }

    void WritePanes(QStatusBar* bar) {
        QStringList texts;
        for (QLabel* pane : bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            texts << QLatin1Char('[') + pane->text() + QLatin1Char(']');
        // The program's own panes (the pointer's place, the zoom) change with every move of
        // the pointer: each has a line of its own.
        for (CStatusPane* pane : bar->findChildren<CStatusPane*>(Qt::FindDirectChildrenOnly)) {
            const unsigned id = pane->property("afxProgramPane").toUInt();
            QString& last = m_programPanes[id];
            if (last != pane->Text()) {
                last = pane->Text();
                Write(QStringLiteral("pane: %1|%2").arg(id).arg(last));
            }
        }
        const QString line = texts.join(QLatin1Char(' '));
        if (line == m_panes)
            return;
        m_panes = line;
        Write(QStringLiteral("panes: ") + line);
    }

    void WriteGeometry(QMainWindow* main) {
        if (QWidget* view = main->centralWidget(); view != nullptr) {
            const QPoint origin = view->mapToGlobal(QPoint(0, 0));
            Write(QStringLiteral("view: %1 %2 %3 %4")
                      .arg(origin.x())
                      .arg(origin.y())
                      .arg(view->width())
                      .arg(view->height()));
        }
        for (QToolBar* bar : main->findChildren<QToolBar*>()) {
            const QPoint origin = bar->mapToGlobal(QPoint(0, 0));
            Write(QStringLiteral("bar: %1|%2 %3 %4 %5")
                      .arg(bar->windowTitle())
                      .arg(origin.x())
                      .arg(origin.y())
                      .arg(bar->width())
                      .arg(bar->height()));
            for (QAction* action : bar->actions()) {
                QWidget* button = bar->widgetForAction(action);
                if (button == nullptr || action->isSeparator())
                    continue;
                const QPoint centre = button->mapToGlobal(button->rect().center());
                Write(QStringLiteral("button: %1|%2 %3")
                          .arg(action->property(kCommandIdProperty).toUInt())
                          .arg(centre.x())
                          .arg(centre.y()));
            }
        }
    }
};

std::string& PendingPath() {
    static std::string path;
    return path;
}

// Runs when the Qt application is made.
void InstallLog() {
    if (PendingPath().empty() || qApp == nullptr)
        return;
    auto* log = new ShownTextLog(QString::fromLocal8Bit(PendingPath().c_str()));
    log->setParent(qApp);
    qApp->installEventFilter(log);
    // A window shown before the filter saw it is watched once the event loop runs.
    QTimer::singleShot(0, log, [log] {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* main = qobject_cast<QMainWindow*>(top); main != nullptr && main->isVisible())
                log->WatchWindow(main);
        }
    });
}

} // namespace

void AfxStartShownTextLog(const char* lpszPath) {
    if (lpszPath == nullptr || *lpszPath == '\0')
        return;
    PendingPath() = lpszPath;
    qAddPreRoutine(&InstallLog);
}
