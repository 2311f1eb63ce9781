#include "platform/framework/AfxMessageBox.h"

#include "platform/framework/AfxRes.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/CWnd.h"
#include "platform/framework/Resources.h"

#include <QApplication>
#include <QMessageBox>

namespace {

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

// The application's title: its name, else its title string.
QString Caption() {
    const CWinApp* app = AfxGetApp();
    if (app != nullptr && !app->m_strAppName.empty())
        return QString::fromStdString(app->m_strAppName);
    const std::string title = AfxLoadString(AFX_IDS_APP_TITLE);
    if (!title.empty())
        return QString::fromStdString(title);
    return QApplication::applicationDisplayName();
}

QWidget* Owner() {
    if (CWnd* main = AfxGetMainWnd(); main != nullptr && main->GetWidget() != nullptr)
        return main->GetWidget();
    return QApplication::activeWindow();
}

} // namespace

void SetMessageBoxHook(MessageBoxHook hook) {
    Hook() = std::move(hook);
}

int AfxMessageBox(const std::string& text, UINT nType, UINT) {
    if (Hook())
        return Hook()(text, nType);

    QMessageBox box(Owner());
    box.setWindowTitle(Caption());
    box.setText(QString::fromStdString(text));
    switch (nType & 0xF0) {
    case MB_ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    default:
        break;
    }
    switch (nType & 0xF) {
    case MB_OKCANCEL:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MB_YESNOCANCEL:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MB_YESNO:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        // Yes is the default, whatever order the desktop's style puts the buttons in.
        box.setDefaultButton(QMessageBox::Yes);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return IDYES;
    case QMessageBox::No:
        return IDNO;
    case QMessageBox::Cancel:
        return IDCANCEL;
    default:
        return IDOK;
    }
}
