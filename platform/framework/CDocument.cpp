#include "platform/framework/CDocument.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CException.h"
#include "platform/framework/CFile.h"
#include "platform/framework/CRecoveryKeeper.h"
#include "platform/framework/CView.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/internal/ReplacingFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <climits>
#include <new>
#include <sys/stat.h>

namespace {

std::string Quoted(const std::string& pathName) {
    return "\"" + pathName + "\"";
}

std::string FileCauseText(const CFileException& e) {
    const std::string detail = e.m_strDetail.empty() ? "" : " (" + e.m_strDetail + ")";
    switch (e.m_cause) {
    case CFileException::fileNotFound:
        return "The file does not exist.";
    case CFileException::diskFull:
        return "There is no room left on the disk, or the file grew past the size allowed" +
               detail + ".";
    case CFileException::accessDenied:
        return "Access was denied" + detail + ".";
    case CFileException::invalidFile:
        return e.m_strDetail.empty() ? "It is not a file." : e.m_strDetail + ".";
    default:
        return e.m_strDetail.empty() ? "The system reported an error." : e.m_strDetail + ".";
    }
}

std::string ArchiveCauseText(const CArchiveException& e) {
    switch (e.m_cause) {
    case CArchiveException::endOfFile:
        return "The file ended before the drawing was complete.";
    default:
        return "The file is not a drawing this program can read.";
    }
}

// Runs a load or save step and turns whatever it throws into the sentence that explains it,
// or into an empty string on success.
template <typename Step> std::string FailureOf(Step&& step) {
    try {
        step();
        return {};
    } catch (const CFileException& e) {
        return FileCauseText(e);
    } catch (const CArchiveException& e) {
        return ArchiveCauseText(e);
    } catch (const CMemoryException&) {
        return "There is not enough memory to hold the drawing.";
    } catch (const std::bad_alloc&) {
        return "There is not enough memory to hold the drawing.";
    } catch (const std::length_error&) {
        return "There is not enough memory to hold the drawing.";
    } catch (const CException&) {
        return "An unexpected error occurred.";
    }
}

void ReportOpenFailure(const std::string& pathName, const std::string& cause) {
    AfxMessageBox("Could not open " + Quoted(pathName) + ".\n" + cause, MB_OK | MB_ICONEXCLAMATION);
}

void ReportSaveFailure(const std::string& pathName, const std::string& cause) {
    // The previous file is never touched by a failed save; saying so spares the user a worry.
    struct stat st {};
    const bool previousExists = ::stat(pathName.c_str(), &st) == 0;
    AfxMessageBox("Could not save " + Quoted(pathName) + ".\n" + cause +
                      (previousExists ? "\nThe file on the disk was left as it was." : ""),
                  MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

CDocument::~CDocument() {
    for (CView* pView : m_views)
        pView->m_pDocument = nullptr;
    if (CRecoveryKeeper* keeper = AfxGetRecoveryKeeper())
        keeper->OnDocumentGone(*this);
}

void CDocument::SetModifiedFlag(bool bModified) {
    m_bModified = bModified;
    if (bModified)
        ++m_nModifications;
    else
        m_history.SetClean();
    if (CRecoveryKeeper* keeper = AfxGetRecoveryKeeper())
        keeper->OnModifiedFlag(*this, bModified);
}

bool CDocument::OnNewDocument() {
    DeleteContents();
    m_bAskBeforeReplacing = false;
    // A new document starts a new history.
    m_history.Clear();
    SetModifiedFlag(false);
    return true;
}

void CDocument::DeleteContents() {}

void CDocument::Serialize(CArchive&) {}

bool CDocument::OnOpenDocument(const std::string& pathName) {
    // The file is opened before anything is emptied: a file that cannot be opened at all leaves
    // the document as it was.
    CFile file;
    CFileException openError;
    if (!file.Open(pathName, CFile::modeRead, &openError)) {
        ReportOpenFailure(pathName, FileCauseText(openError));
        return false;
    }

    DeleteContents();
    m_history.Clear();
    m_bAskBeforeReplacing = false;
    const std::string failure = FailureOf([&] {
        // An empty file is an empty drawing.
        if (file.GetLength() == 0)
            return;
        CArchive ar(&file, CArchive::load);
        Serialize(ar);
        ar.Close();
    });
    if (!failure.empty()) {
        ReportOpenFailure(pathName, failure);
        DeleteContents();
        SetModifiedFlag(false);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

bool CDocument::OnSaveDocument(const std::string& pathName) {
    // The drawing goes to a new file beside the target, which replaces the target only once
    // every byte of it is known to be on the disk. Until then the previous file stays intact,
    // and a failed replacement is gone before the user hears of it.
    std::string failure;
    {
        ReplacingFile out;
        if (!out.Create(pathName)) {
            const int err = errno;
            failure = err == ENOENT ? "The folder does not exist."
                                    : FileCauseText(AfxFileExceptionFromErrno(err, pathName));
        } else {
            failure = FailureOf([&] {
                CArchive ar(&out.File(), CArchive::store);
                Serialize(ar);
                ar.Close();
                out.Commit();
            });
        }
    }
    if (!failure.empty()) {
        ReportSaveFailure(pathName, failure);
        return false;
    }
    SetModifiedFlag(false);
    return true;
}

void CDocument::AddView(CView* pView) {
    if (!pView || std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
        return;
    m_views.push_back(pView);
    pView->m_pDocument = this;
}

void CDocument::RemoveView(CView* pView) {
    const auto it = std::find(m_views.begin(), m_views.end(), pView);
    if (it == m_views.end())
        return;
    m_views.erase(it);
    pView->m_pDocument = nullptr;
}

void CDocument::UpdateAllViews(CView* pSender, std::intptr_t lHint, void* pHint) {
    // A view's update may add or remove views; the list is walked as it was when this began.
    // The edit is done by now, so telling the views must not fail for want of memory: a
    // document has few views, and their list is copied without allocating.
    constexpr std::size_t kFewViews = 8;
    std::array<CView*, kFewViews> few{};
    std::vector<CView*> many;
    const std::size_t count = m_views.size();
    if (count <= kFewViews)
        std::copy(m_views.begin(), m_views.end(), few.begin());
    else
        many = m_views;
    CView* const* views = count <= kFewViews ? few.data() : many.data();
    for (std::size_t i = 0; i < count; ++i) {
        if (views[i] != pSender)
            views[i]->OnUpdate(pSender, lHint, pHint);
    }
}
