#pragma once

#include "platform/framework/CCmdTarget.h"
#include "platform/framework/CUndoStack.h"

#include <cstdint>
#include <string>
#include <vector>

class CArchive;
class CDocTemplate;
class CView;

// The framework's document: contents the program defines, the views that show them, and the
// file it was read from. The contents half (construction, New, Open, Save, views, modified
// flag) lives in CDocument.cpp; the command half (Save and Save As commands, the prompt to save
// changes, path and title) in CDocument_Commands.cpp.
class CDocument : public CCmdTarget {
public:
    CDocument() = default;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;
    virtual ~CDocument();

    // Contents, overridden by the program.
    virtual bool OnNewDocument(); // DeleteContents, clear the modified flag; true on success
    virtual void DeleteContents();
    virtual void Serialize(CArchive& ar);

    // Reads or writes the file through Serialize. Failures are reported to the user with the
    // framework's message naming the file and the cause, and give false. A file that cannot be
    // opened at all leaves the document as it was; any later failure of an open, running out of
    // memory included, leaves it empty. An empty file opens as an empty document. A save writes
    // a new file beside the target and puts it in the target's place only once it is wholly on
    // the disk: a failed save leaves the previous file as it was.
    virtual bool OnOpenDocument(const std::string& pathName);
    virtual bool OnSaveDocument(const std::string& pathName);

    // Commands.
    virtual bool SaveModified(); // asks whether to save a modified document; false cancels
    bool DoSave(const std::string& pathName, bool bReplace = true); // an empty name prompts
    bool DoFileSave();
    void OnFileSave();
    void OnFileSaveAs();

    const std::string& GetPathName() const { return m_strPathName; }
    void SetPathName(const std::string& pathName, bool bAddToMRU = true);
    const std::string& GetTitle() const { return m_strTitle; }
    void SetTitle(const std::string& title);

    // The file under the document's name was written by someone else after this drawing left
    // it: Save asks before replacing it, and Save As is offered instead when the user declines.
    void SetAskBeforeReplacing(bool bAsk) { m_bAskBeforeReplacing = bAsk; }
    bool IsAskingBeforeReplacing() const { return m_bAskBeforeReplacing; }

    // How many items (curves, shapes, ...) the contents hold; named in the offer of a recovery
    // copy of an untitled drawing.
    virtual std::size_t GetItemCount() const { return 0; }

    // Views.
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    const std::vector<CView*>& GetViews() const { return m_views; }
    void UpdateAllViews(CView* pSender, std::intptr_t lHint = 0, void* pHint = nullptr);

    // A set flag counts one more change, which the application's recovery copies follow.
    // Clearing it marks the contents as they are now as those saved: undoing back to them later
    // clears it again.
    void SetModifiedFlag(bool bModified = true);
    bool IsModified() const { return m_bModified; }
    // How many times the flag was set: a copy made at one count holds every change before it.
    std::uint64_t GetModificationCount() const { return m_nModifications; }

    // The edits that Undo can take back and Redo do again. New and Open start a new one; the
    // program's edits record their steps in it.
    CUndoStack& GetHistory() { return m_history; }
    const CUndoStack& GetHistory() const { return m_history; }
    // Sets the modified flag from the history: clear exactly where the contents are those saved.
    void UpdateModifiedFlag() { SetModifiedFlag(!m_history.IsClean()); }

    // The template that made the document; it names the application part of the caption.
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    CDocTemplate* m_pDocTemplate = nullptr;

    DECLARE_MESSAGE_MAP()

protected:
    std::string m_strPathName;
    std::string m_strTitle;
    bool m_bModified = false;
    bool m_bAskBeforeReplacing = false;
    std::uint64_t m_nModifications = 0;
    std::vector<CView*> m_views;
    CUndoStack m_history;
};
