#include "TestApp.h"

#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QLabel>
#include <QStatusBar>
#include <QTextStream>
#include <QTimer>
#include <QToolBar>
#include <QToolTip>

#include <cstdlib>

namespace {

// The end-to-end test cannot read texts off the screen: with FRAMEWORK_APP_LOG set, the
// program writes the status texts and tooltips it shows to that file.
class ShownTextLog : public QObject {
public:
    ShownTextLog(const char* path, QObject* parent)
        : QObject(parent), m_file(QString::fromLocal8Bit(path)) {
        m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
    }
    void Write(const QString& line) {
        QTextStream(&m_file) << line << '\n';
        m_file.flush();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ToolTip) {
            QTimer::singleShot(200, this, [this] {
                if (QToolTip::isVisible())
                    Write(QStringLiteral("tooltip: ") + QToolTip::text());
            });
        }
        if (event->type() == QEvent::Show && !m_bHooked) {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* bar = top->findChild<QStatusBar*>();
                if (bar == nullptr || m_bHooked)
                    continue;
                m_bHooked = true;
                Write(QStringLiteral("status: ") + bar->currentMessage());
                QTimer::singleShot(500, this, [this, top] { WriteGeometry(top); });
                auto* panes = new QTimer(this);
                connect(panes, &QTimer::timeout, this, [this, bar] { WritePanes(bar); });
                panes->start(100);
                connect(bar, &QStatusBar::messageChanged, this, [this](const QString& text) {
                    if (!text.isEmpty())
                        Write(QStringLiteral("status: ") + text);
                });
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QFile m_file;
    QString m_panes;

    void WritePanes(QStatusBar* bar) {
        QStringList texts;
        for (QLabel* pane : bar->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
            texts << QLatin1Char('[') + pane->text() + QLatin1Char(']');
        const QString line = texts.join(QLatin1Char(' '));
        if (line == m_panes)
            return;
        m_panes = line;
        Write(QStringLiteral("panes: ") + line);
    }

    // Where the bars and buttons are on the screen, so that the test can point at them.
    void WriteGeometry(QWidget* top) {
        for (QToolBar* bar : top->findChildren<QToolBar*>()) {
            const QPoint origin = bar->mapToGlobal(QPoint(0, 0));
            Write(QStringLiteral("bar %1|%2 %3 %4 %5")
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
                Write(QStringLiteral("button %1|%2 %3")
                          .arg(action->property("afxCommandId").toUInt())
                          .arg(centre.x())
                          .arg(centre.y()));
            }
        }
    }
    bool m_bHooked = false;
};

class CLoggingApp : public CTestApp {
public:
    bool InitInstance() override {
        if (const char* path = std::getenv("FRAMEWORK_APP_LOG"); path != nullptr && *path)
            qApp->installEventFilter(new ShownTextLog(path, qApp));
        return CTestApp::InitInstance();
    }
};

CLoggingApp theApp;

} // namespace

int main(int argc, char** argv) {
    return AfxWinMain(argc, argv);
}
