#include "TestApp.h"
#include "TestDoc.h"
#include "TestFrame.h"
#include "TestIds.h"
#include "TestView.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CClientDC.h"
#include "platform/framework/CDialog.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFrameWnd.h"

#include "platform/framework/CFile.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPrinter>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <cerrno>
#include <cstdlib>
#include <memory>

namespace {

QTemporaryDir* g_configDir = nullptr;

QAction* FindAction(const QList<QAction*>& actions, const QString& text) {
    for (QAction* action : actions) {
        if (action->text() == text)
            return action;
    }
    return nullptr;
}

} // namespace

class FrameworkAppTest : public QObject {
    Q_OBJECT

    std::unique_ptr<CTestApp> m_app;
    std::vector<std::string> m_messages;
    int m_nextAnswer = IDOK;
    QTemporaryDir m_files;

    CTestFrame* Frame() const { return dynamic_cast<CTestFrame*>(m_app->m_pMainWnd); }
    QMainWindow* Window() const { return static_cast<QMainWindow*>(Frame()->GetWidget()); }
    CTestView* View() const { return static_cast<CTestView*>(Frame()->GetActiveView()); }
    CTestDoc* Doc() const { return View()->GetDocument(); }

    QMenu* Menu(const QString& title) const {
        for (QAction* action : Window()->menuBar()->actions()) {
            if (action->text() == title)
                return action->menu();
        }
        return nullptr;
    }
    // Opening a menu brings its items up to date.
    QMenu* OpenMenu(const QString& title) const {
        QMenu* menu = Menu(title);
        emit menu->aboutToShow();
        return menu;
    }
    QAction* ToolButton(int bar, UINT id) const {
        CToolBar& toolBar = bar == 0 ? Frame()->m_wndToolBar : Frame()->m_wndDrawToolBar;
        for (QAction* action : toolBar.GetWidget()->actions()) {
            if (action->property("afxCommandId").toUInt() == id)
                return action;
        }
        return nullptr;
    }
    std::string Write(const char* name, const QByteArray& bytes) {
        const QString path = m_files.filePath(QString::fromUtf8(name));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path.toStdString();
    }
    void Start() {
        m_app = std::make_unique<CTestApp>();
        m_app->m_bShowAbout = false;
        QVERIFY(m_app->InitInstance());
        QVERIFY(Frame() != nullptr);
        Window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(Window()));
    }

private slots:
    void init() {
        m_messages.clear();
        m_nextAnswer = IDOK;
        SetMessageBoxHook([this](const std::string& text, UINT) {
            m_messages.push_back(text);
            return m_nextAnswer;
        });
        CTestFrame::s_nFailCreate = 0;
        CTestView::s_bFailCreate = false;
        Start();
    }

    void cleanup() {
        m_app.reset();
        SetMessageBoxHook({});
        SetFileDialogHook({});
        QFile::remove(g_configDir->filePath("Framework Tests/FwTest.conf"));
    }

    void startupShowsNewDocumentCaptionAndIdleText() {
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Untitled - FwTest"));
        QVERIFY(Window()->isVisible());
        QCOMPARE(Window()->statusBar()->currentMessage(), QStringLiteral("Ready"));
        QCOMPARE(Frame()->m_wndToolBar.GetWidget()->windowTitle(), QStringLiteral("Main"));
        QCOMPARE(Frame()->m_wndDrawToolBar.GetWidget()->windowTitle(),
                 QStringLiteral("Drawing Tools"));
        QCOMPARE(Frame()->m_wndStatusBar.GetPaneText(0), std::string("Ready"));
        // The view got its WM_CREATE with its window and document in place.
        QVERIFY(View()->m_bCreated);
    }

    void commandsReachViewDocumentAndApplicationTables() {
        Frame()->ExecuteCommand(ID_TOOL_LINE);
        QCOMPARE(View()->m_nTool, 0);
        Frame()->ExecuteCommand(ID_EDIT_PASTE);
        QCOMPARE(Doc()->m_nPastes, 1);
        Frame()->ExecuteCommand(ID_APP_ABOUT);
        QCOMPARE(m_app->m_nAbouts, 1);
        // Disabled by its update handler or handled by no table: never delivered.
        Frame()->ExecuteCommand(ID_TEST_LOCKED);
        QCOMPARE(View()->m_nLocked, 0);
        Frame()->ExecuteCommand(ID_EDIT_COPY);
        QCOMPARE(View()->m_nCopies, 0);
        View()->m_bCanCopy = true;
        Frame()->ExecuteCommand(ID_EDIT_COPY);
        QCOMPARE(View()->m_nCopies, 1);
    }

    void menusShowUpdateHandlersStateWhenOpened() {
        QMenu* edit = OpenMenu("&Edit");
        QVERIFY(!FindAction(edit->actions(), "&Undo\tCtrl+Z")->isEnabled());
        QVERIFY(!FindAction(edit->actions(), "&Copy\tCtrl+C")->isEnabled());
        QVERIFY(FindAction(edit->actions(), "&Paste\tCtrl+V")->isEnabled());
        QVERIFY(!FindAction(edit->actions(), "&Locked")->isEnabled());
        QVERIFY(!FindAction(edit->actions(), "&Orphan")->isEnabled());
        View()->m_bCanCopy = true;
        OpenMenu("&Edit");
        QVERIFY(FindAction(edit->actions(), "&Copy\tCtrl+C")->isEnabled());

        QMenu* tools = OpenMenu("&Tools");
        QAction* line = FindAction(tools->actions(), "&Line ");
        QAction* dot = FindAction(tools->actions(), "&Dot");
        QVERIFY(!line->isChecked() && dot->isChecked());
        QVERIFY(dot->actionGroup() != nullptr && dot->actionGroup()->isExclusive());
        line->trigger();
        QCOMPARE(View()->m_nTool, 0);
        OpenMenu("&Tools");
        QVERIFY(line->isChecked() && !dot->isChecked());
        QCOMPARE(line->statusTip(), QString());
    }

    void toolbarFollowsUpdateHandlersWhenIdle() {
        QAction* copy = ToolButton(0, ID_EDIT_COPY);
        QAction* line = ToolButton(1, ID_TOOL_LINE);
        QTRY_VERIFY(!copy->isEnabled());
        QCOMPARE(copy->toolTip(), QStringLiteral("Copy"));
        QCOMPARE(copy->statusTip(),
                 QStringLiteral("Copy the selection and put it on the Clipboard"));
        QCOMPARE(line->toolTip(), QString());
        View()->m_bCanCopy = true;
        QTest::mouseMove(View()->GetWidget(), QPoint(5, 5));
        QTRY_VERIFY(copy->isEnabled());
        line->trigger();
        QCOMPARE(View()->m_nTool, 0);
        QTRY_VERIFY(!ToolButton(1, ID_TOOL_DOT)->isChecked());
        QVERIFY(line->isChecked());
    }

    void acceleratorsDeliverOnlyEnabledCommands() {
        QTest::keyClick(Window(), Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(Doc()->m_nPastes, 1);
        QTest::keyClick(Window(), Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(Doc()->m_nPastes, 2);
        QTest::keyClick(Window(), Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(View()->m_nCopies, 0);
        View()->m_bCanCopy = true;
        QTest::keyClick(Window(), Qt::Key_Insert, Qt::ControlModifier);
        QCOMPARE(View()->m_nCopies, 1);
        QTest::keyClick(Window(), Qt::Key_L, Qt::ControlModifier);
        QCOMPARE(View()->m_nLocked, 0);
        QTest::keyClick(Window(), Qt::Key_F6);
        QTest::keyClick(Window(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(m_messages.empty());
    }

    void outOfMemoryInACommandIsReportedAndTheProgramGoesOn() {
        Frame()->ExecuteCommand(ID_TEST_EXHAUST);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QCOMPARE(m_messages[0], std::string("Out of memory."));
        Frame()->ExecuteCommand(ID_EDIT_PASTE);
        QCOMPARE(Doc()->m_nPastes, 1);
    }

    void mouseMessagesCarryClientPointsAndIgnoreDoubleClicks() {
        QWidget* view = View()->GetWidget();
        QTest::mousePress(view, Qt::LeftButton, {}, QPoint(10, 20));
        QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(11, 21));
        QTest::mousePress(view, Qt::RightButton, {}, QPoint(3, 4));
        QTest::mouseRelease(view, Qt::RightButton, {}, QPoint(3, 4));
        QMouseEvent dbl(QEvent::MouseButtonDblClick, QPointF(7, 8),
                        view->mapToGlobal(QPointF(7, 8)), Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(view, &dbl);
        const std::vector<std::string> expected = {"L(10,20)", "U(11,21)", "R(3,4)"};
        QCOMPARE(View()->m_events, expected);
    }

    void invalidationsCoalesceIntoOneRepaintThroughOnDraw() {
        QWidget* view = View()->GetWidget();
        view->repaint();
        const int before = View()->m_nDraws;
        View()->Invalidate();
        Doc()->UpdateAllViews(nullptr);
        View()->InvalidateRect(nullptr, true);
        QTRY_COMPARE(View()->m_nDraws, before + 1);
        QTest::qWait(50);
        QCOMPARE(View()->m_nDraws, before + 1);
        // A repaint without an invalidation shows the image as it is.
        view->repaint();
        QCOMPARE(View()->m_nDraws, before + 1);
    }

    void clientDrawingStaysUntilTheNextInvalidation() {
        QWidget* view = View()->GetWidget();
        view->repaint();
        const int draws = View()->m_nDraws;
        {
            CClientDC dc(View());
            dc.FillSolidRect(2, 2, 4, 4, 0);
        }
        view->repaint();
        QCOMPARE(View()->m_nDraws, draws);
        QImage shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(3, 3), QColor(Qt::black));
        View()->Invalidate();
        view->repaint();
        shown = view->grab().toImage();
        QCOMPARE(shown.pixelColor(3, 3), QColor(Qt::white));
    }

    void viewMenuTogglesBarsWithCheckMarks() {
        QMenu* viewMenu = OpenMenu("&View");
        QAction* status = FindAction(viewMenu->actions(), "&Status Bar");
        QAction* toolbar = FindAction(viewMenu->actions(), "&Toolbar");
        QVERIFY(status->isChecked() && toolbar->isChecked());
        status->trigger();
        QVERIFY(Window()->statusBar()->isHidden());
        OpenMenu("&View");
        QVERIFY(!status->isChecked());
        status->trigger();
        OpenMenu("&View");
        QVERIFY(status->isChecked() && !Window()->statusBar()->isHidden());
        toolbar->trigger();
        QVERIFY(Frame()->m_wndToolBar.GetWidget()->isHidden());
        OpenMenu("&View");
        QVERIFY(!toolbar->isChecked());
    }

    void barsDockOnTheFirstSideTheirStyleAllows_data() {
        QTest::addColumn<uint>("align");
        QTest::addColumn<int>("area");
        QTest::newRow("any") << uint(CBRS_ALIGN_ANY) << int(Qt::TopToolBarArea);
        QTest::newRow("left or bottom")
            << uint(CBRS_ALIGN_LEFT | CBRS_ALIGN_BOTTOM) << int(Qt::BottomToolBarArea);
        QTest::newRow("left or right")
            << uint(CBRS_ALIGN_LEFT | CBRS_ALIGN_RIGHT) << int(Qt::LeftToolBarArea);
        QTest::newRow("right") << uint(CBRS_ALIGN_RIGHT) << int(Qt::RightToolBarArea);
    }

    // Top, bottom, left, right: the first side allowed, whether the bar is being created or
    // docked again.
    void barsDockOnTheFirstSideTheirStyleAllows() {
        QFETCH(uint, align);
        QFETCH(int, area);
        CToolBar bar;
        QVERIFY(bar.CreateEx(Frame(), 0, WS_CHILD | WS_VISIBLE | align, CRect(), 0xE900));
        auto* widget = static_cast<QToolBar*>(bar.GetWidget());
        QCOMPARE(int(Window()->toolBarArea(widget)), area);
        const bool top = area == Qt::TopToolBarArea;
        Window()->addToolBar(top ? Qt::BottomToolBarArea : Qt::TopToolBarArea, widget);
        Frame()->DockControlBar(&bar);
        QCOMPARE(int(Window()->toolBarArea(widget)), area);
    }

    void recentFilesKeepFourMostRecentAbsoluteAndSurviveACrash() {
        std::vector<std::string> paths;
        for (int i = 0; i < 5; ++i)
            paths.push_back(Write(("doc" + std::to_string(i)).c_str(), QByteArray(4, '\0')));
        for (const std::string& path : paths)
            QVERIFY(m_app->OpenDocumentFile(path.c_str()) != nullptr);
        QCOMPARE(Window()->windowTitle(), QStringLiteral("doc4 - FwTest"));
        std::vector<std::string> expected = {paths[4], paths[3], paths[2], paths[1]};
        QCOMPARE(m_app->GetRecentFiles(), expected);
        m_app->OpenDocumentFile(paths[2].c_str());
        expected = {paths[2], paths[4], paths[3], paths[1]};
        QCOMPARE(m_app->GetRecentFiles(), expected);

        QMenu* file = OpenMenu("&File");
        QVERIFY(FindAction(file->actions(), "&1 doc2") != nullptr);
        QAction* fourth = FindAction(file->actions(), "&4 doc1");
        QVERIFY(fourth != nullptr && fourth->isEnabled());
        QCOMPARE(fourth->statusTip(), QStringLiteral("Open this document"));
        fourth->trigger();
        QCOMPARE(Window()->windowTitle(), QStringLiteral("doc1 - FwTest"));

        // No normal exit: the list on the disk is already the one shown.
        m_app.reset();
        Start();
        expected = {paths[1], paths[2], paths[4], paths[3]};
        QCOMPARE(m_app->GetRecentFiles(), expected);
    }

    void emptyRecentListShowsGrayedPlaceholder() {
        QMenu* file = OpenMenu("&File");
        QAction* placeholder = FindAction(file->actions(), "Recent File");
        QVERIFY(placeholder != nullptr && !placeholder->isEnabled());
    }

    void fileThatCannotBeOpenedIsReportedAndLeavesTheDocument() {
        Frame()->ExecuteCommand(ID_EDIT_PASTE);
        const std::string missing = m_files.filePath("missing").toStdString();
        QVERIFY(m_app->OpenDocumentFile(missing.c_str()) == nullptr);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY(m_messages[0].find("missing") != std::string::npos);
        QCOMPARE(Doc()->m_values.size(), std::size_t(1));
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Untitled - FwTest"));
        QVERIFY(m_app->GetRecentFiles().empty());
    }

    void modifiedDocumentAsksBeforeNewAndCancelKeepsIt() {
        Frame()->ExecuteCommand(ID_EDIT_PASTE);
        Doc()->SetModifiedFlag();
        m_nextAnswer = IDCANCEL;
        Frame()->ExecuteCommand(ID_FILE_NEW);
        QCOMPARE(m_messages, std::vector<std::string>{"Save changes to Untitled?"});
        QCOMPARE(Doc()->m_values.size(), std::size_t(1));
        m_nextAnswer = IDNO;
        Frame()->ExecuteCommand(ID_FILE_NEW);
        QVERIFY(Doc()->m_values.empty());
        QVERIFY(!Doc()->IsModified());
    }

    void saveAsNamesTheDocumentAndAddsItToRecentFiles() {
        const std::string target = m_files.filePath("saved").toStdString();
        bool asked = false;
        SetFileDialogHook([&](bool bOpen, std::string& path) {
            asked = true;
            if (bOpen)
                return false;
            path = target;
            return true;
        });
        Frame()->ExecuteCommand(ID_FILE_SAVE_AS);
        QVERIFY(asked);
        QVERIFY(QFile::exists(QString::fromStdString(target)));
        QCOMPARE(Window()->windowTitle(), QStringLiteral("saved - FwTest"));
        QCOMPARE(m_app->GetRecentFiles(), std::vector<std::string>{target});
        // Save of a named document asks for no name.
        asked = false;
        Frame()->ExecuteCommand(ID_FILE_SAVE);
        QVERIFY(!asked);
    }

    void aReadFailureEmptiesTheDocumentAndForgetsItsName() {
        const std::string good = Write("good", QByteArray(4, '\0'));
        QVERIFY(m_app->OpenDocumentFile(good.c_str()) != nullptr);
        Frame()->ExecuteCommand(ID_EDIT_PASTE);
        const std::string bad = Write("unreadable", QByteArray(2, '\1'));
        QVERIFY(m_app->OpenDocumentFile(bad.c_str()) == nullptr);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QVERIFY(Doc()->m_values.empty());
        QCOMPARE(Window()->windowTitle(), QStringLiteral("Untitled - FwTest"));
        QVERIFY(Doc()->GetPathName().empty());
        QVERIFY(!Doc()->IsModified());
        // Saving now asks for a name instead of writing the empty drawing over "good".
        bool asked = false;
        SetFileDialogHook([&](bool, std::string&) {
            asked = true;
            return false;
        });
        Frame()->ExecuteCommand(ID_FILE_SAVE);
        QVERIFY(asked);
    }

    // Every way a save can fail leaves the previous file byte for byte, tells the user, and
    // leaves no temporary file behind. The document is 65540 bytes: one full buffer and a last
    // write of 4 bytes.
    void failedSavesKeepThePreviousFile_data() {
        QTest::addColumn<QString>("failing");
        QTest::addColumn<int>("call");
        QTest::newRow("first write") << "write" << 1;
        QTest::newRow("last buffered write") << "write" << 2;
        QTest::newRow("sync") << "sync" << 1;
        QTest::newRow("rename") << "rename" << 1;
    }

    void failedSavesKeepThePreviousFile() {
        QFETCH(QString, failing);
        QFETCH(int, call);
        QTemporaryDir folder;
        const QString target = folder.filePath("drawing");
        const QByteArray previous("\x02\0\0\0\x07\0\0\0\x09\0\0\0", 12);
        {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(previous);
        }
        QVERIFY(m_app->OpenDocumentFile(target.toStdString().c_str()) != nullptr);
        QCOMPARE(Doc()->m_values, (std::vector<std::int32_t>{7, 9}));
        Doc()->m_values.assign(16384, 5);
        int calls = 0;
        FileSystemCalls& sys = AfxFileSystemCalls();
        if (failing == "write") {
            auto real = sys.write;
            sys.write = [&, real](int fd, const void* data, std::size_t size) -> ssize_t {
                if (++calls == call) {
                    errno = ENOSPC;
                    return -1;
                }
                return real(fd, data, size);
            };
        } else if (failing == "sync") {
            sys.fdatasync = [&](int) {
                ++calls;
                errno = EIO;
                return -1;
            };
        } else {
            sys.rename = [&](const char*, const char*) {
                ++calls;
                errno = EXDEV;
                return -1;
            };
        }
        Frame()->ExecuteCommand(ID_FILE_SAVE);
        AfxResetFileSystemCalls();
        QVERIFY(calls >= call);
        QCOMPARE(m_messages.size(), std::size_t(1));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), previous);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"drawing"});
        QCOMPARE(Window()->windowTitle(), QStringLiteral("drawing - FwTest"));
    }

    // Run by its own test under "ulimit -f" with SIGXFSZ ignored: writes past the limit fail
    // as on a full disk.
    void saveBeyondTheFileSizeLimitKeepsThePreviousFile() {
        const QByteArray limitText = qgetenv("FRAMEWORK_APP_FSIZE_KIB");
        if (limitText.isEmpty())
            QSKIP("needs FRAMEWORK_APP_FSIZE_KIB and the matching ulimit -f");
        const int limit = limitText.toInt() * 1024;
        QTemporaryDir folder;
        const QString target = folder.filePath("drawing");
        const QByteArray previous("\x01\0\0\0\x2A\0\0\0", 8);
        // Sizes: exactly the limit (saves), one value past it (only the last write fails),
        // and far past it.
        const std::size_t fits = std::size_t(limit - 4) / 4;
        const std::size_t counts[] = {fits + 1, fits * 4, fits};
        for (std::size_t count : counts) {
            {
                QFile file(target);
                QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write(previous);
            }
            QVERIFY(m_app->OpenDocumentFile(target.toStdString().c_str()) != nullptr);
            Doc()->m_values.assign(count, 3);
            m_messages.clear();
            Frame()->ExecuteCommand(ID_FILE_SAVE);
            QFile file(target);
            QVERIFY(file.open(QIODevice::ReadOnly));
            if (count == fits) {
                QVERIFY(m_messages.empty());
                QCOMPARE(file.size(), qint64(limit));
            } else {
                QCOMPARE(m_messages.size(), std::size_t(1));
                QCOMPARE(file.readAll(), previous);
            }
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                     QStringList{"drawing"});
        }
    }

    void failedFrameCreationFailsStartUp_data() {
        QTest::addColumn<int>("step");
        QTest::newRow("before the bars") << 1;
        QTest::newRow("the status bar") << 2;
        QTest::newRow("the view") << 3;
    }

    void failedFrameCreationFailsStartUp() {
        QFETCH(int, step);
        m_app.reset();
        CTestFrame::s_nFailCreate = step < 3 ? step : 0;
        CTestView::s_bFailCreate = step == 3;
        CTestApp app;
        QVERIFY(!app.InitInstance());
        QVERIFY(app.m_pMainWnd == nullptr);
        QVERIFY(app.GetRecentFiles().empty());
        for (QWidget* top : QApplication::topLevelWidgets())
            QVERIFY(!top->isVisible() || qobject_cast<QMainWindow*>(top) == nullptr);
    }

    void aboutBoxIsBuiltFromItsTemplateAndClosesWithOk() {
        m_app->m_bShowAbout = true;
        QString caption;
        QStringList texts;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            caption = dialog->windowTitle();
            for (QLabel* label : dialog->findChildren<QLabel*>())
                texts << label->text();
            auto* ok = dialog->findChild<QPushButton*>();
            QVERIFY(ok != nullptr && ok->isDefault());
            QVERIFY(ok->width() > ok->height());
            ok->click();
        });
        Frame()->ExecuteCommand(ID_APP_ABOUT);
        QCOMPARE(caption, QStringLiteral("About FwTest"));
        QVERIFY(texts.contains("FwTest Version 1.0"));
        QVERIFY(texts.contains("A framework test"));
    }

    void dialogEndsWithCancelOnEscape() {
        m_app->m_bShowAbout = true;
        bool seen = false;
        QTimer::singleShot(0, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            seen = dialog != nullptr;
            if (dialog != nullptr)
                QTest::keyClick(dialog, Qt::Key_Escape);
        });
        CDialog about(IDD_ABOUTBOX);
        QCOMPARE(about.DoModal(), std::intptr_t(IDCANCEL));
        QVERIFY(seen);
        CDialog missing(4242);
        QCOMPARE(missing.DoModal(), std::intptr_t(-1));
    }

    // Run by its own test with QT_SCALE_FACTOR=2: one unit is one logical pixel, shown as two
    // device pixels, black or white and nothing between.
    // The window draws at the screen's resolution: the line at unit 10 is the one device pixel
    // 20 wide, not two pixels of a picture scaled up.
    void hiDpiLinesStaySharp() {
        QWidget* view = View()->GetWidget();
        if (view->devicePixelRatio() < 2)
            QSKIP("needs a device pixel ratio of 2");
        Doc()->m_values = {10};
        View()->Invalidate();
        view->repaint();
        const QImage shown = view->grab().toImage();
        QCOMPARE(shown.devicePixelRatio(), 2.0);
        const int y = 50 * 2;
        for (int x = 16; x < 26; ++x) {
            const QColor colour = shown.pixelColor(x, y);
            QCOMPARE(colour, x == 20 ? QColor(Qt::black) : QColor(Qt::white));
        }
    }

    void printingDrawsThroughOnDrawIntoAPdfFile() {
        QPrinter* printer = m_app->GetPrinter();
        const QString pdf = m_files.filePath("out.pdf");
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        Frame()->ExecuteCommand(ID_EDIT_PASTE);
        const int draws = View()->m_nDraws;
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        Frame()->ExecuteCommand(ID_FILE_PRINT);
        QVERIFY(!QFile::exists(pdf));
        QTimer::singleShot(0, [] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                dialog->accept();
        });
        Frame()->ExecuteCommand(ID_FILE_PRINT);
        QVERIFY(View()->m_nDraws > draws);
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
    }

    // The preview shows the page and closes from its own Close button, which carries the
    // program's prompt and tooltip.
    void printPreviewShowsThePageAndClosesFromItsButton() {
        const int draws = View()->m_nDraws;
        QString tip;
        QString prompt;
        QTimer::singleShot(100, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr)
                return;
            auto* close = dialog->findChild<QAction*>(QStringLiteral("previewClose"));
            if (close == nullptr) {
                dialog->reject();
                return;
            }
            tip = close->toolTip();
            prompt = close->statusTip();
            close->trigger();
        });
        Frame()->ExecuteCommand(ID_FILE_PRINT_PREVIEW);
        QVERIFY(View()->m_nDraws > draws);
        QCOMPARE(tip, QStringLiteral("Cancel Preview"));
        QCOMPARE(prompt, QStringLiteral("Close print preview mode"));
    }
};

int main(int argc, char** argv) {
    QTemporaryDir config;
    g_configDir = &config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
    QApplication app(argc, argv);
    FrameworkAppTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "FrameworkAppTest.moc"
