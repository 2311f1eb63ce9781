#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CDocTemplate.h"
#include "platform/framework/CDocument.h"
#include "platform/framework/CFile.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/Resources.h"

#include <QDateTime>
#include <QString>

#include <filesystem>

namespace {

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

std::string DrawingName(const CDocTemplate& docTemplate, const std::string& pathName) {
    if (!pathName.empty())
        return std::filesystem::path(pathName).filename().string();
    std::string title;
    if (!docTemplate.GetDocString(title, CDocTemplate::docName) || title.empty())
        title = "Untitled";
    return title;
}

// How many items the copy holds, read into a document of the program's own class that nobody
// sees; empty when it cannot be read, which the offer's Yes will report.
std::string ItemCount(CDocTemplate& docTemplate, const std::string& drawingPath) {
    std::unique_ptr<CDocument> scratch(docTemplate.CreateNewDocument());
    CFile file;
    if (scratch == nullptr || !file.Open(drawingPath, CFile::modeRead))
        return "?";
    try {
        if (file.GetLength() > 0) {
            CArchive ar(&file, CArchive::load);
            scratch->Serialize(ar);
        }
    } catch (...) {
        return "?";
    }
    return std::to_string(scratch->GetItemCount());
}

std::string LocalTime(std::time_t time) {
    const QDateTime when = QDateTime::fromSecsSinceEpoch(static_cast<qint64>(time));
    return when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

} // namespace

CRecoveryKeeper* AfxGetRecoveryKeeper() {
    const CWinApp* app = AfxGetApp();
    return app != nullptr ? app->GetRecoveryKeeper() : nullptr;
}

void CWinApp::EnableRecoveryCopies() {
    std::string name = m_strAppName;
    for (char& c : name)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    m_pRecoveryKeeper = std::make_unique<CRecoveryKeeper>(CRecoveryKeeper::DefaultFolder(name));
    m_pRecoveryKeeper->m_onKeptChanged = [this](bool bKept) { ShowRecoveryState(bKept); };
}

void CWinApp::EndRecoveryCopies() {
    if (m_pRecoveryKeeper != nullptr)
        m_pRecoveryKeeper->EndNormally();
    m_pRecoveryKeeper.reset();
}

void CWinApp::ShowRecoveryState(bool bKept) {
    auto* frame = dynamic_cast<CFrameWnd*>(m_pMainWnd);
    if (frame == nullptr)
        return;
    const std::string text = AfxLoadString(AFX_IDS_RECOVERY_FAILED);
    if (bKept)
        frame->ClearMessageText(text);
    else
        frame->SetMessageText(text);
}

bool CWinApp::OfferRecoveryCopies() {
    if (m_pRecoveryKeeper == nullptr || m_templates.empty())
        return false;
    CDocTemplate& docTemplate = *m_templates.front();
    std::vector<CRecoveryKeeper::LeftOver> leftOvers = m_pRecoveryKeeper->ClaimLeftOvers();
    if (leftOvers.empty())
        return false;
    // One offer a start, of the newest copy: the others wait for the next starts.
    for (std::size_t i = 1; i < leftOvers.size(); ++i)
        CRecoveryKeeper::Release(leftOvers[i]);
    CRecoveryKeeper::LeftOver& leftOver = leftOvers.front();
    const bool untitled = leftOver.originalPath.empty();
    std::string text =
        AfxLoadString(untitled ? AFX_IDS_RECOVERY_OFFER_UNTITLED : AFX_IDS_RECOVERY_OFFER);
    const std::string name = DrawingName(docTemplate, leftOver.originalPath);
    if (leftOver.bOriginalChanged) {
        const std::string changed = AfxLoadString(AFX_IDS_RECOVERY_FILE_CHANGED);
        const std::size_t end = text.rfind('\n');
        text.insert(end == std::string::npos ? text.size() : end, changed);
    }
    text = ReplaceAll(text, "%1", name);
    text = ReplaceAll(text, "%2", LocalTime(leftOver.time));
    if (untitled)
        text = ReplaceAll(text, "%3", ItemCount(docTemplate, leftOver.drawingPath));
    if (AfxMessageBox(text, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        m_pRecoveryKeeper->Delete(leftOver);
        return false;
    }
    // The window opens as for File > New; the copy is then read into its document the way a
    // file is, and a copy that cannot be read is reported as a file would be.
    CDocument* document = docTemplate.OpenDocumentFile(nullptr);
    if (document == nullptr) {
        CRecoveryKeeper::Release(leftOver);
        return false;
    }
    if (!document->OnOpenDocument(leftOver.drawingPath)) {
        m_pRecoveryKeeper->Keep(leftOver);
        document->OnNewDocument();
        docTemplate.SetDefaultTitle(document);
        return false;
    }
    // The drawing keeps its name, and the file of that name changes only when the user saves:
    // until then it is a drawing with unsaved changes, and the copy follows it.
    m_pRecoveryKeeper->Adopt(leftOver);
    if (untitled)
        docTemplate.SetDefaultTitle(document);
    else
        document->SetPathName(leftOver.originalPath, false);
    document->SetAskBeforeReplacing(leftOver.bOriginalChanged);
    document->SetModifiedFlag(true);
    // The history starts at the recovered drawing, which no file holds: undoing back to it
    // must not clear the flag and let the copy go.
    document->GetHistory().ForgetClean();
    document->UpdateAllViews(nullptr);
    return true;
}
