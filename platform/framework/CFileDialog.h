#pragma once

#include <functional>
#include <string>
#include <vector>

class CWnd;

// The desktop's dialog for naming one file to open or to save, with a list of file types to
// choose from. The chosen type decides the extension of a name typed without one.
class CFileDialog {
public:
    // lpszFilter: the types as "Name (*.ext)|*.ext|" pairs, ended by a further "|". The first
    // type is chosen unless m_nFilterIndex names another.
    CFileDialog(bool bOpenFileDialog, const char* lpszFileName = nullptr,
                const char* lpszFilter = nullptr, CWnd* pParentWnd = nullptr);
    virtual ~CFileDialog() = default;

    // IDOK once a file is named, IDCANCEL when the user cancelled.
    virtual int DoModal();

    // The chosen file, and its extension without the dot (empty when it has none).
    std::string GetPathName() const { return m_strPathName; }
    std::string GetFileExt() const;

    bool m_bOpenFileDialog;
    // The caption; empty for the desktop's own ("Open", "Save As").
    std::string m_strTitle;
    // Where the dialog starts; empty for the folder of the proposed name.
    std::string m_strInitialDir;
    // The proposed name on the way in, the chosen path on the way out.
    std::string m_strPathName;
    // The chosen type, counted from 1, on the way in and out.
    int m_nFilterIndex = 1;

    struct FileType {
        std::string name;    // "PNG image (*.png)"
        std::string pattern; // "*.png"
    };
    const std::vector<FileType>& GetFileTypes() const { return m_types; }
    // The extension, without the dot, that a type's pattern gives; empty for "*".
    std::string ExtensionOfType(int nFilterIndex) const;

    // Tests answer the dialog without showing it: while a hook is set, DoModal returns what the
    // hook returns, with the dialog as the hook left it.
    using Hook = std::function<int(CFileDialog&)>;
    static void SetHook(Hook hook);

private:
    CWnd* m_pParentWnd;
    std::vector<FileType> m_types;
};
