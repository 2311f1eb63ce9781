#include "platform/framework/CFileDialog.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

namespace {

CFileDialog::Hook& DialogHook() {
    static CFileDialog::Hook hook;
    return hook;
}

std::vector<CFileDialog::FileType> ParseFilter(const char* lpszFilter) {
    std::vector<CFileDialog::FileType> types;
    if (lpszFilter == nullptr)
        return types;
    std::vector<std::string> fields;
    std::string field;
    for (const char* p = lpszFilter; *p != '\0'; ++p) {
        if (*p != '|') {
            field += *p;
            continue;
        }
        fields.push_back(field);
        field.clear();
    }
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (!fields[i].empty())
            types.push_back({fields[i], fields[i + 1]});
    }
    return types;
}

} // namespace

CFileDialog::CFileDialog(bool bOpenFileDialog, const char* lpszFileName, const char* lpszFilter,
                         CWnd* pParentWnd)
    : m_bOpenFileDialog(bOpenFileDialog), m_strPathName(lpszFileName ? lpszFileName : ""),
      m_pParentWnd(pParentWnd), m_types(ParseFilter(lpszFilter)) {}

void CFileDialog::SetHook(Hook hook) {
    DialogHook() = std::move(hook);
}

std::string CFileDialog::GetFileExt() const {
    return QFileInfo(QString::fromStdString(m_strPathName)).suffix().toStdString();
}

std::string CFileDialog::ExtensionOfType(int nFilterIndex) const {
    if (nFilterIndex < 1 || std::size_t(nFilterIndex) > m_types.size())
        return {};
    const std::string& pattern = m_types[std::size_t(nFilterIndex) - 1].pattern;
    return pattern.starts_with("*.") ? pattern.substr(2) : std::string();
}

int CFileDialog::DoModal() {
    if (DialogHook())
        return DialogHook()(*this);

    CWnd* parent = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    QFileDialog dialog(parent != nullptr ? parent->GetWidget() : nullptr);
    dialog.setAcceptMode(m_bOpenFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(m_bOpenFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!m_strTitle.empty())
        dialog.setWindowTitle(QString::fromStdString(m_strTitle));
    QStringList filters;
    for (const FileType& type : m_types)
        filters << QString::fromStdString(type.name);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    // A name typed without an extension takes the chosen type's, before the desktop asks
    // whether to replace a file of that name.
    const auto chooseType = [&](int index) {
        dialog.setDefaultSuffix(QString::fromStdString(ExtensionOfType(index)));
    };
    if (m_nFilterIndex >= 1 && m_nFilterIndex <= int(filters.size())) {
        dialog.selectNameFilter(filters[m_nFilterIndex - 1]);
        chooseType(m_nFilterIndex);
    }
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                     [&](const QString& filter) { chooseType(int(filters.indexOf(filter)) + 1); });
    const QFileInfo proposed(QString::fromStdString(m_strPathName));
    if (!m_strInitialDir.empty())
        dialog.setDirectory(QString::fromStdString(m_strInitialDir));
    else if (!proposed.path().isEmpty())
        dialog.setDirectory(proposed.path());
    if (!m_strPathName.empty())
        dialog.selectFile(proposed.fileName());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return IDCANCEL;
    m_strPathName = dialog.selectedFiles().constFirst().toStdString();
    const int chosen = int(filters.indexOf(dialog.selectedNameFilter()));
    if (chosen >= 0)
        m_nFilterIndex = chosen + 1;
    return IDOK;
}
