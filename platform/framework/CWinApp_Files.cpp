#include "platform/framework/CCmdUI.h"
#include "platform/framework/CFrameWnd.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/internal/FrameworkWidgets.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSettings>

#include <algorithm>

namespace {

constexpr const char* kRecentSection = "Recent File List";
constexpr const char* kRecentEntryFormat = "File%1";
constexpr UINT kMaxRecentFiles = 16;

FileDialogHook& DialogHook() {
    static FileDialogHook hook;
    return hook;
}

QWidget* MainWidget() {
    CWnd* main = AfxGetMainWnd();
    return main != nullptr ? main->GetWidget() : nullptr;
}

// Settings live under the company key and the application name once a company key is named;
// before that, under the application name alone.
std::unique_ptr<QSettings> OpenSettings(const CWinApp& app) {
    const QString company = QString::fromStdString(
        app.m_strRegistryKey.empty() ? app.m_strAppName : app.m_strRegistryKey);
    return std::make_unique<QSettings>(company, QString::fromStdString(app.m_strAppName));
}

} // namespace

void SetFileDialogHook(FileDialogHook hook) {
    DialogHook() = std::move(hook);
}

bool AfxDoPromptFileName(std::string& pathName, bool bOpen) {
    if (DialogHook())
        return DialogHook()(bOpen, pathName);
    // All files, no default extension: a document is saved under exactly the name typed.
    const QString filter = QStringLiteral("All Files (*)");
    const QString proposed = QString::fromStdString(pathName);
    const QString chosen =
        bOpen ? QFileDialog::getOpenFileName(MainWidget(), QStringLiteral("Open"), proposed, filter)
              : QFileDialog::getSaveFileName(MainWidget(), QStringLiteral("Save As"), proposed,
                                             filter);
    if (chosen.isEmpty())
        return false;
    pathName = chosen.toStdString();
    return true;
}

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
}

std::string CWinApp::GetProfileString(const char* section, const char* entry,
                                      const char* lpszDefault) {
    auto settings = OpenSettings(*this);
    settings->beginGroup(QString::fromUtf8(section));
    return settings->value(QString::fromUtf8(entry), QString::fromUtf8(lpszDefault))
        .toString()
        .toStdString();
}

bool CWinApp::WriteProfileString(const char* section, const char* entry, const std::string& value) {
    auto settings = OpenSettings(*this);
    settings->beginGroup(QString::fromUtf8(section));
    settings->setValue(QString::fromUtf8(entry), QString::fromStdString(value));
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

int CWinApp::GetProfileInt(const char* section, const char* entry, int nDefault) {
    auto settings = OpenSettings(*this);
    settings->beginGroup(QString::fromUtf8(section));
    bool ok = false;
    const int value = settings->value(QString::fromUtf8(entry)).toInt(&ok);
    return ok ? value : nDefault;
}

bool CWinApp::WriteProfileInt(const char* section, const char* entry, int nValue) {
    auto settings = OpenSettings(*this);
    settings->beginGroup(QString::fromUtf8(section));
    settings->setValue(QString::fromUtf8(entry), nValue);
    settings->endGroup();
    settings->sync();
    return settings->status() == QSettings::NoError;
}

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (m_strAppName.empty())
        InitInstance();
    m_nMaxMRU = std::min(nMaxMRU, kMaxRecentFiles);
    LoadRecentFileList();
}

void CWinApp::LoadRecentFileList() {
    m_recentFiles.clear();
    if (m_nMaxMRU == 0)
        return;
    auto settings = OpenSettings(*this);
    settings->beginGroup(kRecentSection);
    for (UINT i = 1; i <= m_nMaxMRU; ++i) {
        const QString path = settings->value(QString(kRecentEntryFormat).arg(i)).toString();
        if (path.isEmpty())
            continue;
        const std::string absolute = QFileInfo(path).absoluteFilePath().toStdString();
        if (std::find(m_recentFiles.begin(), m_recentFiles.end(), absolute) == m_recentFiles.end())
            m_recentFiles.push_back(absolute);
    }
}

void CWinApp::SaveRecentFileList() {
    if (m_nMaxMRU == 0)
        return;
    auto settings = OpenSettings(*this);
    settings->beginGroup(kRecentSection);
    for (UINT i = 1; i <= m_nMaxMRU; ++i) {
        const QString key = QString(kRecentEntryFormat).arg(i);
        if (i <= m_recentFiles.size())
            settings->setValue(key, QString::fromStdString(m_recentFiles[i - 1]));
        else
            settings->remove(key);
    }
    settings->endGroup();
    settings->sync();
}

void CWinApp::AddToRecentFileList(const std::string& pathName) {
    if (m_nMaxMRU == 0 || pathName.empty())
        return;
    const std::string absolute =
        QFileInfo(QString::fromStdString(pathName)).absoluteFilePath().toStdString();
    const std::vector<std::string> before = m_recentFiles;
    // A file already in the list moves to the top.
    m_recentFiles.erase(std::remove(m_recentFiles.begin(), m_recentFiles.end(), absolute),
                        m_recentFiles.end());
    m_recentFiles.insert(m_recentFiles.begin(), absolute);
    if (m_recentFiles.size() > m_nMaxMRU)
        m_recentFiles.resize(m_nMaxMRU);
    // Written at once, so that a program that crashes later keeps what it opened.
    if (m_recentFiles != before)
        SaveRecentFileList();
}

void CWinApp::RemoveFromRecentFileList(const std::string& pathName) {
    const auto removed = std::remove(m_recentFiles.begin(), m_recentFiles.end(), pathName);
    if (removed == m_recentFiles.end())
        return;
    m_recentFiles.erase(removed, m_recentFiles.end());
    SaveRecentFileList();
}

bool CWinApp::OnOpenRecentFile(UINT nID) {
    const std::size_t index = nID - ID_FILE_MRU_FILE1;
    if (index >= m_recentFiles.size())
        return false;
    const std::string path = m_recentFiles[index];
    if (OpenDocumentFile(path.c_str()) == nullptr) {
        // A file that could not be opened leaves the list.
        // An open that the user cancelled at the save prompt leaves it in place.
        if (!QFileInfo::exists(QString::fromStdString(path)))
            RemoveFromRecentFileList(path);
    }
    return true;
}

// The menu's "Recent File" item stands for the list: grayed while the list is empty, else
// replaced by one numbered entry per file, most recent first.
void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    QAction* placeholder = pCmdUI->m_pAction;
    QMenu* menu = pCmdUI->m_pMenu;
    if (placeholder == nullptr || menu == nullptr) {
        pCmdUI->Enable(!m_recentFiles.empty());
        return;
    }
    if (!placeholder->property("afxOriginalText").isValid())
        placeholder->setProperty("afxOriginalText", placeholder->text());
    for (QAction* action : menu->actions()) {
        const QVariant id = action->property(kCommandIdProperty);
        if (action != placeholder && id.isValid() && id.toUInt() > ID_FILE_MRU_FILE1 &&
            id.toUInt() <= ID_FILE_MRU_FILE16) {
            menu->removeAction(action);
            delete action;
        }
    }
    const QString prompt = placeholder->statusTip();
    if (m_recentFiles.empty()) {
        placeholder->setText(placeholder->property("afxOriginalText").toString());
        pCmdUI->Enable(false);
        return;
    }
    QAction* after = placeholder;
    const QList<QAction*> actions = menu->actions();
    const int placeholderIndex = int(actions.indexOf(placeholder));
    QAction* before =
        placeholderIndex + 1 < actions.size() ? actions[placeholderIndex + 1] : nullptr;
    for (std::size_t i = 0; i < m_recentFiles.size(); ++i) {
        const QFileInfo info(QString::fromStdString(m_recentFiles[i]));
        // Ampersands in a name are doubled so that they show instead of marking a mnemonic.
        QString name = info.fileName();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        const QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(name);
        QAction* action = after;
        if (i > 0) {
            action = new QAction(text, menu);
            action->setProperty(kCommandIdProperty, UINT(ID_FILE_MRU_FILE1 + i));
            action->setStatusTip(prompt);
            menu->insertAction(before, action);
        }
        action->setText(text);
        action->setEnabled(true);
        action->setToolTip(info.absoluteFilePath());
    }
    pCmdUI->m_bEnabled = true;
    pCmdUI->m_bEnableChanged = true;
}

void CWinApp::OnFilePrintSetup() {
    QPrintDialog dialog(GetPrinter(), MainWidget());
    dialog.setWindowTitle(QStringLiteral("Print Setup"));
    // Qt's dialog confirms with "Print", but here it only chooses the printer: its button
    // confirms with the platform's own word for OK.
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>(); buttons != nullptr) {
        const QDialogButtonBox standard(QDialogButtonBox::Ok);
        QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
        if (ok != nullptr)
            ok->setText(standard.button(QDialogButtonBox::Ok)->text());
    }
    dialog.exec();
}
