#include "app/CMainFrame.h"

#include "app/DrawingExporter.h"
#include "app/Resource.h"
#include "document/CSwoop2Doc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CFileDialog.h"
#include "platform/framework/CWinApp.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <iterator>

IMPLEMENT_DYNCREATE(CMainFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(CMainFrame, CFrameWnd)
ON_WM_CREATE()
ON_COMMAND(ID_FILE_EXPORT, &CMainFrame::OnFileExport)
END_MESSAGE_MAP()

namespace {

// The status bar's panes: the message pane, where the pointer is and the zoom, then the key
// states.
const UINT indicators[] = {
    ID_SEPARATOR,      ID_INDICATOR_POSITION, ID_INDICATOR_ZOOM,
    ID_INDICATOR_CAPS, ID_INDICATOR_NUM,      ID_INDICATOR_SCRL,
};

constexpr DWORD kToolBarStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP | CBRS_GRIPPER | CBRS_TOOLTIPS |
                                CBRS_FLYBY | CBRS_SIZE_DYNAMIC;

// The types File > Export offers, in the order of its dialog's list.
constexpr const char* kExportFilter =
    "PNG image (*.png)|*.png|SVG image (*.svg)|*.svg|PDF document (*.pdf)|*.pdf||";
constexpr std::array kExportFormats{CommandLine::Format::Png, CommandLine::Format::Svg,
                                    CommandLine::Format::Pdf};
constexpr std::array kExportExtensions{".png", ".svg", ".pdf"};
// Where the settings keep the folder and the type of the last export.
constexpr const char* kExportSection = "Export";
constexpr const char* kExportFolderEntry = "Folder";
constexpr const char* kExportTypeEntry = "Type";

} // namespace

CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() = default;

bool CMainFrame::PreCreateWindow(CREATESTRUCT& cs) {
    return CFrameWnd::PreCreateWindow(cs);
}

int CMainFrame::OnCreate(LPCREATESTRUCT lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    // Both bars carry the toolbar's child id, so View > Toolbar reaches them both.
    if (!m_wndToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0),
                               AFX_IDW_TOOLBAR) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME))
        return -1;
    if (!m_wndDrawToolBar.CreateEx(this, TBSTYLE_FLAT, kToolBarStyle, CRect(0, 0, 0, 0),
                                   AFX_IDW_TOOLBAR) ||
        !m_wndDrawToolBar.LoadToolBar(IDR_DRAWTOOLS))
        return -1;
    if (!m_wndStatusBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, AFX_IDW_STATUS_BAR) ||
        !m_wndStatusBar.SetIndicators(indicators, int(std::size(indicators))))
        return -1;

    // The captions a bar shows while it floats.
    m_wndToolBar.SetWindowText("Main");
    m_wndDrawToolBar.SetWindowText("Drawing Tools");

    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    m_wndDrawToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    DockControlBar(&m_wndDrawToolBar);
    return 0;
}

void CMainFrame::OnFileExport() {
    auto* doc = dynamic_cast<CSwoop2Doc*>(GetActiveDocument());
    CWinApp* app = AfxGetApp();
    if (doc == nullptr || app == nullptr)
        return;
    namespace fs = std::filesystem;
    const int lastType = std::clamp(app->GetProfileInt(kExportSection, kExportTypeEntry, 1), 1,
                                    int(kExportFormats.size()));
    // A saved drawing is exported beside itself under its own name; a new one where the last
    // export went.
    const fs::path drawing(doc->GetPathName());
    const std::string stem =
        drawing.empty() ? doc->GetTitle() : drawing.filename().replace_extension().string();
    CFileDialog dialog(false, (stem + kExportExtensions[lastType - 1]).c_str(), kExportFilter,
                       this);
    dialog.m_strTitle = "Export";
    dialog.m_nFilterIndex = lastType;
    dialog.m_strInitialDir = drawing.empty()
                                 ? app->GetProfileString(kExportSection, kExportFolderEntry)
                                 : drawing.parent_path().string();
    if (dialog.DoModal() != IDOK)
        return;

    // The name's extension says the type; a name without one takes the chosen type's.
    std::string path = dialog.GetPathName();
    const int chosen = std::clamp(dialog.m_nFilterIndex, 1, int(kExportFormats.size()));
    CommandLine::Format format = kExportFormats[chosen - 1];
    if (const auto named = CommandLine::FormatOfFileName(path))
        format = *named;
    else if (dialog.GetFileExt().empty())
        path += kExportExtensions[chosen - 1];

    const std::string failure = DrawingExporter::Export(*doc, path, format);
    if (!failure.empty()) {
        AfxMessageBox(DrawingExporter::FailureMessage(path, failure), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    std::error_code error;
    const auto type = std::find(kExportFormats.begin(), kExportFormats.end(), format);
    app->WriteProfileInt(kExportSection, kExportTypeEntry, int(type - kExportFormats.begin()) + 1);
    app->WriteProfileString(kExportSection, kExportFolderEntry,
                            fs::absolute(fs::path(path), error).parent_path().string());
}
