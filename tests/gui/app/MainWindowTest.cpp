// The running program's window as a user meets it: caption, menus, accelerators, toolbars,
// status bar, About box, recent files and the command line.

#include "app/CMainFrame.h"
#include "app/CSwoop2App.h"
#include "app/CommandLine.h"
#include "app/DrawingExporter.h"
#include "app/Resource.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CView.h"
#include "platform/ole/AfxOleInit.h"
#include "platform/ole/COleDataObject.h"
#include "platform/ole/ClipboardFormat.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QSettings>
#include <QShortcut>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include <csignal>
#include <memory>
#include <sys/resource.h>
#include <tuple>

namespace {

QTemporaryDir* g_configDir = nullptr;

// Counts the paints a widget receives while it lives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* widget) { widget->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint;
        return false;
    }
};

QString Item(QAction* action) {
    if (action->isSeparator())
        return QStringLiteral("-");
    return action->text();
}

UINT IdOf(QAction* action) {
    return action->property("afxCommandId").toUInt();
}

// Answers the next modal dialog from inside its own event loop.
template <class F> void WhenDialogShows(F answer) {
    QTimer::singleShot(0, [answer] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        answer(dialog);
        // A dialog the answer did not close would hang the test: end it.
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CSwoop2App> m_app;
    std::vector<std::string> m_messages;
    QTemporaryDir m_files;

    CFrameWnd* Frame() const { return dynamic_cast<CFrameWnd*>(m_app->m_pMainWnd); }
    QMainWindow* Window() const { return static_cast<QMainWindow*>(Frame()->GetWidget()); }

    QMenu* OpenMenu(const QString& title) const {
        for (QAction* action : Window()->menuBar()->actions()) {
            if (action->text() == title) {
                emit action->menu()->aboutToShow();
                return action->menu();
            }
        }
        return nullptr;
    }
    QAction* MenuItem(const QString& menu, UINT id) const {
        for (QAction* action : OpenMenu(menu)->actions()) {
            if (!action->isSeparator() && IdOf(action) == id)
                return action;
        }
        return nullptr;
    }
    QToolBar* Bar(const char* name) const {
        for (QToolBar* bar : Window()->findChildren<QToolBar*>()) {
            if (bar->windowTitle() == QLatin1String(name))
                return bar;
        }
        return nullptr;
    }
    QAction* Button(const char* bar, UINT id) const {
        for (QAction* action : Bar(bar)->actions()) {
            if (!action->isSeparator() && IdOf(action) == id)
                return action;
        }
        return nullptr;
    }
    std::string EmptyDocument(const QString& name) {
        const QString path = m_files.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(QByteArray(4, '\0')); // no curves
        return path.toStdString();
    }
    bool Start(std::vector<std::string> arguments = {}) {
        m_app = std::make_unique<CSwoop2App>();
        m_app->m_arguments = std::move(arguments);
        return m_app->InitInstance();
    }

private slots:
    void init() {
        m_messages.clear();
        SetMessageBoxHook([this](const std::string& text, UINT) {
            m_messages.push_back(text);
            return IDOK;
        });
        QVERIFY(Start());
        QVERIFY(Frame() != nullptr);
    }

    void cleanup() {
        if (m_app != nullptr)
            m_app->EndRecoveryCopies();
        m_app.reset();
        SetMessageBoxHook({});
        SetOleInitFailureForTesting(false);
        QFile::remove(g_configDir->filePath("Local AppWizard-Generated Applications/Swoop2.conf"));
    }

    void startsWithANewDocumentIconAndIdleText() {
        QVERIFY(Window()->isVisible());
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Untitled - Swoop2"));
        QCOMPARE(m_app->m_strAppName, std::string("Swoop2"));
        QVERIFY(Frame()->GetActiveView() != nullptr);
        QCOMPARE(Window()->statusBar()->currentMessage(), QStringLiteral("Ready"));
        const QList<QSize> sizes = Window()->windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)) &&
                sizes.contains(QSize(48, 48)));
        const QImage icon = Window()->windowIcon().pixmap(48, 48).toImage();
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(icon.pixelColor(24, 24), QColor(Qt::black)); // the middle control point
    }

    void menusHaveTheirItemsInOrder() {
        QStringList titles;
        for (QAction* action : Window()->menuBar()->actions())
            titles << action->text();
        QCOMPARE(titles, QStringList({"&File", "&Edit", "&Curves", "&Arrange", "&View", "&Help"}));
        const QList<QStringList> items = {
            {"&New\tCtrl+N", "&Open...\tCtrl+O", "&Save\tCtrl+S", "Save &As...",
             "&Export...\tCtrl+Shift+E", "-", "&Print...\tCtrl+P", "Print Pre&view",
             "P&rint Setup...", "-", "Recent File", "-", "E&xit"},
            {"&Undo\tCtrl+Z", "&Redo\tCtrl+Y", "-", "Cu&t\tCtrl+X", "&Copy\tCtrl+C",
             "&Paste\tCtrl+V", "&Delete\tDel", "-", "Select &All\tCtrl+A"},
            {"&Select ", "&Draw"},
            {"Bring to &Front\tHome", "Bring F&orward\tPgUp", "Send Back&ward\tPgDn",
             "Send to &Back\tEnd"},
            {"&Toolbar", "&Status Bar", "-", "Zoom &In\tCtrl++", "Zoom &Out\tCtrl+-",
             "&Actual Size\tCtrl+0", "&Fit Drawing\tCtrl+1"},
            {"&About Swoop2..."},
        };
        for (int i = 0; i < titles.size(); ++i) {
            QStringList shown;
            for (QAction* action : OpenMenu(titles[i])->actions())
                shown << Item(action);
            QCOMPARE(shown, items[i]);
        }
        QCOMPARE(MenuItem("&File", ID_FILE_SAVE)->statusTip(),
                 QStringLiteral("Save the active document"));
        QCOMPARE(MenuItem("&Help", ID_APP_ABOUT)->statusTip(),
                 QStringLiteral("Display program information, version number and copyright"));
        QCOMPARE(MenuItem("&View", ID_VIEW_FIT_DRAWING)->statusTip(),
                 QStringLiteral("Show the whole drawing in the window"));
        QCOMPARE(MenuItem("&Edit", ID_EDIT_REDO)->statusTip(),
                 QStringLiteral("Redo the previously undone action"));
        QCOMPARE(MenuItem("&Edit", ID_EDIT_CLEAR)->statusTip(),
                 QStringLiteral("Erase the selection"));
        QCOMPARE(MenuItem("&Arrange", ID_ARRANGE_SEND_TO_BACK)->statusTip(),
                 QStringLiteral("Send the selection behind every other curve"));
        QCOMPARE(
            MenuItem("&File", ID_FILE_EXPORT)->statusTip(),
            QStringLiteral("Write the drawing as a PNG image, an SVG image or a PDF document"));
        QCOMPARE(MenuItem("&Curves", ID_CURVES_SELECT)->statusTip(),
                 QStringLiteral("Select a curve to reshape, move or copy it"));
        QCOMPARE(
            MenuItem("&Curves", ID_CURVES_DRAW)->statusTip(),
            QStringLiteral("Draw a curve through the points you click; a right click closes it"));
    }

    void commandsWithoutHandlerOrSelectionAreGrayed() {
        QVERIFY(!MenuItem("&Edit", ID_EDIT_UNDO)->isEnabled());
        QVERIFY(!MenuItem("&Edit", ID_EDIT_REDO)->isEnabled());
        QVERIFY(!MenuItem("&Edit", ID_EDIT_CLEAR)->isEnabled());
        QVERIFY(!MenuItem("&Edit", ID_EDIT_CUT)->isEnabled());
        QVERIFY(!MenuItem("&Edit", ID_EDIT_COPY)->isEnabled());
        QVERIFY(!MenuItem("&File", ID_FILE_MRU_FILE1)->isEnabled());
        QVERIFY(MenuItem("&File", ID_FILE_NEW)->isEnabled());
        QVERIFY(MenuItem("&Help", ID_APP_ABOUT)->isEnabled());
        QTRY_VERIFY(!Button("Main", ID_EDIT_CUT)->isEnabled());
        QVERIFY(!Button("Main", ID_EDIT_COPY)->isEnabled());
        QVERIFY(Button("Main", ID_FILE_SAVE)->isEnabled());
    }

    void theChosenToolCarriesTheRadioMarkInMenuAndToolbar() {
        QAction* select = MenuItem("&Curves", ID_CURVES_SELECT);
        QAction* draw = MenuItem("&Curves", ID_CURVES_DRAW);
        QVERIFY(draw->isChecked() && !select->isChecked());
        QTRY_VERIFY(Button("Drawing Tools", ID_CURVES_DRAW)->isChecked());
        QVERIFY(!Button("Drawing Tools", ID_CURVES_SELECT)->isChecked());
        Button("Drawing Tools", ID_CURVES_SELECT)->trigger();
        QVERIFY(MenuItem("&Curves", ID_CURVES_SELECT)->isChecked());
        QVERIFY(!MenuItem("&Curves", ID_CURVES_DRAW)->isChecked());
        QTRY_VERIFY(!Button("Drawing Tools", ID_CURVES_DRAW)->isChecked());
        QVERIFY(Button("Drawing Tools", ID_CURVES_SELECT)->isChecked());
    }

    void aClosedCurveEnablesCutAndCopy() {
        QWidget* view = Frame()->GetActiveView()->GetWidget();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(60, 30));
        // While a curve is being drawn there is nothing to copy yet.
        QVERIFY(!MenuItem("&Edit", ID_EDIT_COPY)->isEnabled());
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(60, 30));
        QVERIFY(MenuItem("&Edit", ID_EDIT_CUT)->isEnabled());
        QVERIFY(MenuItem("&Edit", ID_EDIT_COPY)->isEnabled());
        QTRY_VERIFY(Button("Main", ID_EDIT_COPY)->isEnabled());
        QVERIFY(MenuItem("&Edit", ID_EDIT_CLEAR)->isEnabled());
        // The drawing can be taken back now, and nothing is there to redo yet.
        QVERIFY(MenuItem("&Edit", ID_EDIT_UNDO)->isEnabled());
        QVERIFY(!MenuItem("&Edit", ID_EDIT_REDO)->isEnabled());
    }

    void acceleratorsAreTheTablesKeysInOrder() {
        QStringList keys;
        for (QShortcut* shortcut : Window()->findChildren<QShortcut*>())
            keys << shortcut->key().toString();
        QCOMPARE(keys, QStringList({"Ctrl+N",       "Ctrl+O",    "Ctrl+S",     "Ctrl+P",
                                    "Ctrl+Shift+E", "Ctrl+Z",    "Ctrl+Y",     "Ctrl+Shift+Z",
                                    "Ctrl+X",       "Ctrl+C",    "Ctrl+V",     "Alt+Backspace",
                                    "Shift+Del",    "Del",       "Ctrl+Ins",   "Shift+Ins",
                                    "F6",           "Shift+F6",  "Ctrl++",     "Ctrl+=",
                                    "Ctrl+-",       "Ctrl+0",    "Ctrl+1",     "Ctrl+A",
                                    "Home",         "PgUp",      "PgDown",     "End",
                                    "Esc",          "Return",    "Left",       "Right",
                                    "Up",           "Down",      "Shift+Left", "Shift+Right",
                                    "Shift+Up",     "Shift+Down"}));
        // Keys of commands that nothing serves do nothing, and say nothing.
        Window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Window()));
        QTest::keyClick(Window(), Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(Window(), Qt::Key_Backspace, Qt::AltModifier);
        QTest::keyClick(Window(), Qt::Key_F6);
        QTest::keyClick(Window(), Qt::Key_F6, Qt::ShiftModifier);
        QVERIFY(m_messages.empty());
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Untitled - Swoop2"));

        // Each key of the history and of Delete reaches its command.
        QWidget* view = Frame()->GetActiveView()->GetWidget();
        QTest::mouseClick(view, Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseClick(view, Qt::RightButton, {}, QPoint(10, 10));
        const auto& curves = dynamic_cast<CSwoop2Doc*>(Frame()->GetActiveDocument())->m_curves;
        const std::pair<QKeySequence, std::size_t> keyCurves[] = {
            {Qt::CTRL | Qt::Key_Z, 0},         {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 1},
            {Qt::ALT | Qt::Key_Backspace, 0},  {Qt::CTRL | Qt::Key_Y, 1},
            {QKeySequence(Qt::Key_Delete), 0}, {Qt::CTRL | Qt::Key_Y, 0}};
        for (const auto& [key, count] : keyCurves) {
            QTest::keySequence(Window(), key);
            QCOMPARE(curves.size(), count);
        }
    }

    void toolbarsCarryTheirButtonsTipsAndPrompts() {
        const QList<QToolBar*> bars = Window()->findChildren<QToolBar*>();
        QCOMPARE(bars.size(), 2);
        QCOMPARE(bars[0]->windowTitle(), QStringLiteral("Main"));
        QCOMPARE(bars[1]->windowTitle(), QStringLiteral("Drawing Tools"));
        QCOMPARE(Window()->toolBarArea(bars[0]), Qt::TopToolBarArea);
        QCOMPARE(Window()->toolBarArea(bars[1]), Qt::TopToolBarArea);
        QVERIFY(bars[0]->isMovable() && bars[0]->isFloatable());

        QList<UINT> ids;
        for (QAction* action : bars[0]->actions())
            ids << (action->isSeparator() ? 0u : IdOf(action));
        QCOMPARE(ids, QList<UINT>({ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, 0, ID_EDIT_CUT,
                                   ID_EDIT_COPY, ID_EDIT_PASTE, 0, ID_FILE_PRINT, ID_APP_ABOUT}));
        ids.clear();
        for (QAction* action : bars[1]->actions())
            ids << IdOf(action);
        QCOMPARE(ids, QList<UINT>({ID_CURVES_SELECT, ID_CURVES_DRAW}));

        QAction* save = Button("Main", ID_FILE_SAVE);
        QCOMPARE(save->toolTip(), QStringLiteral("Save"));
        QCOMPARE(save->statusTip(), QStringLiteral("Save the active document"));
        QCOMPARE(Button("Main", ID_EDIT_PASTE)->toolTip(), QStringLiteral("Paste"));
        QCOMPARE(Button("Main", ID_APP_ABOUT)->toolTip(), QStringLiteral("About"));
        QCOMPARE(Button("Drawing Tools", ID_CURVES_SELECT)->toolTip(), QStringLiteral("Select"));
        QCOMPARE(Button("Drawing Tools", ID_CURVES_DRAW)->toolTip(), QStringLiteral("Draw"));
        QCOMPARE(Button("Drawing Tools", ID_CURVES_DRAW)->statusTip(),
                 MenuItem("&Curves", ID_CURVES_DRAW)->statusTip());
        for (QToolBar* bar : bars) {
            for (QAction* action : bar->actions()) {
                if (!action->isSeparator())
                    QVERIFY(!action->icon().isNull());
            }
        }
    }

    void copyThroughTheFrameOffersTheRecordAndThePicture() {
        // The picture needs the view the command is routed through, which only the frame's
        // own command path names.
        auto* doc = dynamic_cast<CSwoop2Doc*>(Frame()->GetActiveDocument());
        QVERIFY(doc != nullptr);
        auto curve = std::make_unique<CCurve>();
        curve->m_points = {{10, 20}, {30, 40}, {50, 60}};
        doc->m_pSelected = curve.get();
        doc->AddCurve(std::move(curve));
        QGuiApplication::clipboard()->clear();
        Frame()->ExecuteCommand(ID_EDIT_COPY);
        COleDataObject data;
        QVERIFY(data.AttachClipboard());
        QVERIFY(data.IsDataAvailable(doc->m_cfCurve));
        QVERIFY(data.IsDataAvailable(CF_DIB));
    }

    void pasteFollowsTheClipboardWithNoInput() {
        // Another program taking the clipboard is no input event of ours: the button must
        // follow the clipboard by itself, as it does while the pointer rests on it.
        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->clear();
        QTRY_VERIFY(!Button("Main", ID_EDIT_PASTE)->isEnabled());
        auto* mime = new QMimeData;
        mime->setData("Tav.Swoop", QByteArray("\x04\0\0\0", 4));
        clipboard->setMimeData(mime);
        QTRY_VERIFY(Button("Main", ID_EDIT_PASTE)->isEnabled());
        clipboard->clear();
        QTRY_VERIFY(!Button("Main", ID_EDIT_PASTE)->isEnabled());
    }

    void toolImagesAreOurOwnBlackStrokes() {
        // The tools have no theme icon: their pictures are the program's, black on nothing.
        for (UINT id : {ID_CURVES_SELECT, ID_CURVES_DRAW}) {
            const QImage image = Button("Drawing Tools", id)->icon().pixmap(16, 15).toImage();
            QCOMPARE(image.size(), QSize(16, 15));
            int black = 0;
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x) {
                    const QColor c = image.pixelColor(x, y);
                    QVERIFY(c.alpha() == 0 || c == QColor(Qt::black));
                    black += c.alpha() != 0;
                }
            }
            QVERIFY(black > 20);
        }
    }

    void statusBarHasTheMessagePlaceZoomAndThreeKeyPanes() {
        QStringList panes;
        for (QWidget* pane : Window()->statusBar()->findChildren<QWidget*>()) {
            const QVariant text = pane->property("afxPaneText");
            if (text.isValid())
                panes << text.toString();
        }
        QCOMPARE(panes, QStringList({"-00000, -00000", "6400%", "CAP", "NUM", "SCRL"}));
    }

    // The zoom follows every step, the place follows the pointer in drawing units whatever the
    // zoom and scroll, and goes blank when the pointer leaves; the view is not repainted for it.
    void statusPanesShowTheZoomAndThePointersPlace() {
        CView* view = Frame()->GetActiveView();
        QWidget* widget = view->GetWidget();
        Window()->resize(640, 480);
        Window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(Window()));
        CStatusBar* bar = dynamic_cast<CMainFrame*>(Frame())->GetStatusBar();
        // The panes after the message pane: the place, then the zoom.
        const auto pane = [&](int index) {
            return QString::fromStdString(bar->GetPaneText(index));
        };
        const int kPlace = 1;
        const int kZoom = 2;
        const auto moveTo = [&](QPoint at) {
            QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QCoreApplication::sendEvent(widget, &move);
        };
        QTRY_COMPARE(pane(kZoom), QStringLiteral("100%"));
        QCOMPARE(pane(kPlace), QString());
        moveTo(QPoint(30, 40));
        QTRY_COMPARE(pane(kPlace), QStringLiteral("30, 40"));

        const struct {
            UINT command;
            const char* zoom;
        } steps[] = {
            {ID_VIEW_ZOOM_IN, "141%"}, {ID_VIEW_ZOOM_IN, "200%"}, {ID_VIEW_ACTUAL_SIZE, "100%"}};
        for (const auto& step : steps) {
            Frame()->ExecuteCommand(step.command);
            QTRY_COMPARE(pane(kZoom), QString::fromLatin1(step.zoom));
        }
        view->SetZoomStep(2, CPoint(0, 0));
        // The unit a press there lands on: the nearest one.
        moveTo(QPoint(30, 41));
        QTRY_COMPARE(pane(kPlace), QStringLiteral("15, 21"));
        for (int i = 0; i < 10; ++i)
            Frame()->ExecuteCommand(ID_VIEW_ZOOM_OUT);
        QTRY_COMPARE(pane(kZoom), QStringLiteral("6%"));
        // Moving the pointer costs no repaint of the view.
        QCoreApplication::processEvents();
        PaintCounter paints(widget);
        for (int x = 0; x < 20; ++x)
            moveTo(QPoint(100 + x, 100));
        const CPoint unit = view->ClientToUnits(CPoint(119, 100));
        QTRY_COMPARE(pane(kPlace), QStringLiteral("%1, %2").arg(unit.x).arg(unit.y));
        QVERIFY(unit.y > 1000);
        QCOMPARE(paints.count, 0);
        QEvent leave(QEvent::Leave);
        QCoreApplication::sendEvent(widget, &leave);
        QTRY_COMPARE(pane(kPlace), QString());
    }

    void viewMenuShowsAndHidesBarsWithCheckMarks() {
        QAction* status = MenuItem("&View", ID_VIEW_STATUS_BAR);
        QAction* toolbar = MenuItem("&View", ID_VIEW_TOOLBAR);
        QVERIFY(status->isChecked() && toolbar->isChecked());
        status->trigger();
        QVERIFY(Window()->statusBar()->isHidden());
        QVERIFY(!MenuItem("&View", ID_VIEW_STATUS_BAR)->isChecked());
        status->trigger();
        QVERIFY(!Window()->statusBar()->isHidden());
        QVERIFY(MenuItem("&View", ID_VIEW_STATUS_BAR)->isChecked());
        toolbar->trigger();
        QVERIFY(Bar("Main")->isHidden());
        QVERIFY(!MenuItem("&View", ID_VIEW_TOOLBAR)->isChecked());
        toolbar->trigger();
        QVERIFY(!Bar("Main")->isHidden());
        QVERIFY(MenuItem("&View", ID_VIEW_TOOLBAR)->isChecked());
    }

    void aboutBoxShowsItsTextsAndClosesEveryWay() {
        QString caption;
        QStringList texts;
        bool hasIcon = false;
        WhenDialogShows([&](QDialog* dialog) {
            caption = dialog->windowTitle();
            for (QLabel* label : dialog->findChildren<QLabel*>()) {
                if (!label->pixmap().isNull())
                    hasIcon = true;
                else
                    texts << label->text();
            }
            auto* ok = dialog->findChild<QPushButton*>();
            QVERIFY(ok != nullptr && ok->text() == QLatin1String("OK") && ok->isDefault());
            ok->click();
        });
        Frame()->ExecuteCommand(ID_APP_ABOUT);
        QCOMPARE(caption, QStringLiteral("About Swoop2"));
        QCOMPARE(texts.size(), 2);
        QCOMPARE(texts[0], QStringLiteral("Swoop2 Version 1.0"));
        QVERIFY(!texts[1].isEmpty());
        QVERIFY(hasIcon);

        const Qt::Key keys[] = {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter};
        for (Qt::Key key : keys) {
            bool closed = false;
            WhenDialogShows([&](QDialog* dialog) {
                QTest::keyClick(dialog, key);
                closed = !dialog->isVisible();
            });
            Frame()->ExecuteCommand(ID_APP_ABOUT);
            QVERIFY2(closed, qPrintable(QStringLiteral("key %1").arg(key)));
        }
        bool closed = false;
        WhenDialogShows([&](QDialog* dialog) {
            dialog->close();
            closed = !dialog->isVisible();
        });
        Frame()->ExecuteCommand(ID_APP_ABOUT);
        QVERIFY(closed);
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Untitled - Swoop2"));
    }

    void printSetupConfirmsWithOKNotPrint() {
        QString caption;
        QString confirm;
        WhenDialogShows([&](QDialog* dialog) {
            caption = dialog->windowTitle();
            if (auto* buttons = dialog->findChild<QDialogButtonBox*>())
                confirm = buttons->button(QDialogButtonBox::Ok)->text();
            dialog->reject();
        });
        Frame()->ExecuteCommand(ID_FILE_PRINT_SETUP);
        QCOMPARE(caption, QStringLiteral("Print Setup"));
        QCOMPARE(confirm.remove('&'), QStringLiteral("OK"));
    }

    void recentFilesKeepTheFourLatestInTheMenuAndSettings() {
        std::vector<std::string> paths;
        for (int i = 1; i <= 5; ++i)
            paths.push_back(EmptyDocument(QStringLiteral("drawing%1").arg(i)));
        for (const std::string& path : paths)
            QVERIFY(m_app->OpenDocumentFile(path.c_str()) != nullptr);
        QCOMPARE(Window()->windowTitle(), QStringLiteral("drawing5 - Swoop2"));

        QStringList entries;
        for (QAction* action : OpenMenu("&File")->actions()) {
            const UINT id = IdOf(action);
            if (!action->isSeparator() && id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
                entries << action->text();
                QCOMPARE(action->statusTip(), QStringLiteral("Open this document"));
                QVERIFY(action->isEnabled());
            }
        }
        QCOMPARE(entries.size(), 4);
        QVERIFY(entries[0].startsWith("&1 ") && entries[0].endsWith("drawing5"));
        QVERIFY(entries[3].startsWith("&4 ") && entries[3].endsWith("drawing2"));

        m_app->ExitInstance();
        QSettings store(g_configDir->filePath("Local AppWizard-Generated Applications/Swoop2.conf"),
                        QSettings::IniFormat);
        const QString all = store.allKeys().join(' ');
        int kept = 0;
        for (const QString& key : store.allKeys())
            kept += store.value(key).toString().endsWith("drawing5") ||
                    store.value(key).toString().endsWith("drawing2");
        QVERIFY2(kept == 2, qPrintable(all));
    }

    void commandLineOpensTheNamedFile() {
        // Qt's modified-marker placeholder in a file name is shown as it is.
        const std::string path = EmptyDocument("a[*]b");
        m_app.reset();
        QVERIFY(Start({path}));
        QVERIFY(Window()->isVisible());
        QCOMPARE(Window()->windowHandle()->title(), QStringLiteral("a[*]b - Swoop2"));
    }

    void fileThatCannotBeOpenedEndsStartUpAfterTheMessage() {
        m_app.reset();
        const std::string missing = m_files.filePath("missing").toStdString();
        QVERIFY(!Start({missing}));
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY(m_messages[0].find("missing") != std::string::npos);
        QVERIFY(m_app->m_pMainWnd == nullptr);
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(qobject_cast<QMainWindow*>(top) == nullptr || !top->isVisible());
    }

    // File > Export writes the bytes the command line writes for the saved drawing, with no
    // handles of the selection, and leaves the document's name and modified flag alone. The
    // dialog starts beside a saved drawing under its name and the type used last; a new
    // drawing starts where the last export went.
    void exportWritesWhatTheCommandLineWritesForTheSavedDrawing() {
        auto* doc = dynamic_cast<CSwoop2Doc*>(Frame()->GetActiveDocument());
        for (const std::vector<CPoint>& points :
             {std::vector<CPoint>{{20, 30}, {120, 40}, {90, 110}},
              std::vector<CPoint>{{200, 60}, {260, 90}, {240, 160}, {180, 150}}}) {
            auto curve = std::make_unique<CCurve>();
            curve->m_points = points;
            doc->m_pSelected = curve.get();
            doc->AddCurve(std::move(curve));
        }
        const std::string drawing = m_files.filePath("drawing.swoop").toStdString();
        QVERIFY(doc->DoSave(drawing));
        doc->SetModifiedFlag(true);
        QVERIFY(QDir(m_files.path()).mkpath("out"));
        const QString out = m_files.filePath("out");

        struct Row {
            const char* answer; // the name typed
            int type;           // the type chosen in the list
            const char* written;
            const char* proposed; // the name the dialog offered
            int proposedType;
        };
        const Row rows[] = {
            // The name's extension decides over the list.
            {"a.svg", 1, "a.svg", "drawing.png", 1},
            // A name without one takes the list's.
            {"b", 1, "b.png", "drawing.svg", 2},
            {"c.PDF", 2, "c.PDF", "drawing.png", 1},
        };
        // What the dialog was opened with: caption, folder, name, type and the number of types.
        using Opened = std::tuple<std::string, std::string, std::string, int, std::size_t>;
        Opened opened;
        for (const Row& row : rows) {
            CFileDialog::SetHook([&](CFileDialog& dialog) {
                opened = {dialog.m_strTitle, dialog.m_strInitialDir, dialog.m_strPathName,
                          dialog.m_nFilterIndex, dialog.GetFileTypes().size()};
                dialog.m_strPathName = (out + "/" + row.answer).toStdString();
                dialog.m_nFilterIndex = row.type;
                return IDOK;
            });
            Frame()->ExecuteCommand(ID_FILE_EXPORT);
            CFileDialog::SetHook({});
            QCOMPARE(opened, Opened("Export", m_files.path().toStdString(), row.proposed,
                                    row.proposedType, 3));
            QVERIFY(m_messages.empty());
            QVERIFY(QFile::exists(out + "/" + row.written));
        }
        QCOMPARE(doc->GetPathName(), drawing);
        QVERIFY(doc->IsModified());
        QCOMPARE(Window()->windowTitle(), QStringLiteral("drawing.swoop - Swoop2"));

        const auto bytes = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        for (const char* name : {"a.svg", "b.png"}) {
            const QString reference = m_files.filePath(QStringLiteral("reference-") + name);
            QCOMPARE(
                DrawingExporter::Run(CommandLine::Parse({"-o", reference.toStdString(), drawing})),
                0);
            QVERIFY(!bytes(reference).isEmpty());
            QCOMPARE(bytes(out + "/" + name), bytes(reference));
        }
        QVERIFY(bytes(out + "/c.PDF").startsWith("%PDF-"));

        // A closed curve, which no file keeps closed, is exported as the window shows it.
        doc->m_curves[0]->m_bClosed = true;
        CFileDialog::SetHook([&](CFileDialog& dialog) {
            dialog.m_strPathName = (out + "/closed.svg").toStdString();
            return IDOK;
        });
        Frame()->ExecuteCommand(ID_FILE_EXPORT);
        CFileDialog::SetHook({});
        QCOMPARE(bytes(out + "/closed.svg").count(" Z\""), 1);

        // A new drawing starts in the folder of the last export, under its title.
        Frame()->ExecuteCommand(ID_FILE_NEW);
        CFileDialog::SetHook([&](CFileDialog& dialog) {
            opened = {dialog.m_strTitle, dialog.m_strInitialDir, dialog.m_strPathName,
                      dialog.m_nFilterIndex, dialog.GetFileTypes().size()};
            return IDCANCEL;
        });
        Frame()->ExecuteCommand(ID_FILE_EXPORT);
        CFileDialog::SetHook({});
        QCOMPARE(opened, Opened("Export", out.toStdString(), "Untitled.svg", 2, 3));
    }

    // A failed export keeps the file it would have replaced and says why; one over the
    // drawing's own file is refused.
    void aFailedExportKeepsTheOldFileAndSaysWhy() {
        auto* doc = dynamic_cast<CSwoop2Doc*>(Frame()->GetActiveDocument());
        auto curve = std::make_unique<CCurve>();
        curve->m_points = {{20, 30}, {120, 40}, {90, 110}, {40, 100}};
        doc->AddCurve(std::move(curve));
        const std::string drawing = m_files.filePath("kept.swoop").toStdString();
        QVERIFY(doc->DoSave(drawing));
        const QString old = m_files.filePath("old.svg");
        {
            QFile file(old);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("old");
        }
        const auto bytes = [](const QString& path) {
            QFile file(path);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        const QByteArray drawingBytes = bytes(QString::fromStdString(drawing));

        const auto exportTo = [&](const std::string& path) {
            CFileDialog::SetHook([&](CFileDialog& dialog) {
                dialog.m_strPathName = path;
                return IDOK;
            });
            Frame()->ExecuteCommand(ID_FILE_EXPORT);
            CFileDialog::SetHook({});
        };
        // The disk is full, or the file may grow no further: writes past 100 bytes fail.
        rlimit limit{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &limit), 0);
        const rlimit small{100, limit.rlim_max};
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        exportTo(old.toStdString());
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, previous);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY(m_messages[0].starts_with("Could not write \"" + old.toStdString() + "\".\n"));
        QVERIFY(m_messages[0].find("no room left on the disk") != std::string::npos);
        QCOMPARE(bytes(old), QByteArray("old"));
        QCOMPARE(QDir(m_files.path()).entryList({"*old.svg*"}, QDir::Files | QDir::Hidden),
                 QStringList{"old.svg"});

        m_messages.clear();
        exportTo(drawing);
        QCOMPARE(m_messages, std::vector<std::string>{"Could not write \"" + drawing +
                                                      "\".\nIt is the drawing's own file."});
        QCOMPARE(bytes(QString::fromStdString(drawing)), drawingBytes);
    }

    void dataTransferServiceFailingEndsStartUpWithItsMessage() {
        m_app.reset();
        SetOleInitFailureForTesting(true);
        QVERIFY(!Start());
        QCOMPARE(m_messages, std::vector<std::string>{"AfxOleInit failed"});
        QVERIFY(m_app->m_pMainWnd == nullptr);
    }
};

int main(int argc, char** argv) {
    QTemporaryDir config;
    g_configDir = &config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    QApplication app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "MainWindowTest.moc"
