#include "platform/framework/CDialog.h"

#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CWinApp.h"
#include "platform/framework/GuardedCall.h"
#include "platform/framework/Resources.h"
#include "platform/framework/internal/ResourcesQt.h"

#include <QDialog>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

#include <cmath>

BEGIN_MESSAGE_MAP(CDialog, CWnd)
END_MESSAGE_MAP()

namespace {

// Dialog units: a quarter of the font's average character width, an eighth of its height.
struct DialogUnits {
    double baseX;
    double baseY;
    int X(int units) const { return int(std::lround(units * baseX / 4.0)); }
    int Y(int units) const { return int(std::lround(units * baseY / 8.0)); }
};

DialogUnits UnitsOf(const QFont& font) {
    const QFontMetricsF metrics(font);
    const QString sample = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return {metrics.horizontalAdvance(sample) / 52.0, metrics.height()};
}

class TemplateDialog : public QDialog {
public:
    TemplateDialog(CDialog* owner, QWidget* parent) : QDialog(parent), m_pOwner(owner) {}
    void accept() override {
        CDialog* owner = m_pOwner;
        AfxCallGuarded([owner] { owner->OnOK(); });
    }
    void reject() override {
        CDialog* owner = m_pOwner;
        AfxCallGuarded([owner] { owner->OnCancel(); });
    }

private:
    CDialog* m_pOwner;
};

void BuildItem(QDialog* dialog, const AFX_DIALOG_ITEM& item, const DialogUnits& du) {
    const QRect geometry(du.X(item.x), du.Y(item.y), du.X(item.cx), du.Y(item.cy));
    const QString text = QString::fromUtf8(item.lpszText ? item.lpszText : "");
    const QString kind = QString::fromUtf8(item.lpszClass ? item.lpszClass : "").toUpper();
    QWidget* widget = nullptr;
    if (kind == QLatin1String("BUTTON")) {
        auto* button = new QPushButton(text, dialog);
        const bool isDefault = (item.dwStyle & 0xF) == BS_DEFPUSHBUTTON;
        button->setDefault(isDefault);
        button->setAutoDefault(isDefault);
        if (item.nID == IDOK)
            QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::accept);
        else if (item.nID == IDCANCEL)
            QObject::connect(button, &QPushButton::clicked, dialog, &QDialog::reject);
        widget = button;
    } else if (kind == QLatin1String("STATIC")) {
        auto* label = new QLabel(dialog);
        if ((item.dwStyle & 0x1F) == SS_ICON) {
            const QIcon icon = AfxLoadIcon(item.nIconID);
            // An icon control takes the icon's own size whatever the template says.
            label->setPixmap(icon.pixmap(32, 32));
            label->resize(32, 32);
            label->move(geometry.topLeft());
            label->setObjectName(QStringLiteral("icon%1").arg(item.nIconID));
            return;
        }
        label->setText(text);
        label->setTextFormat(Qt::PlainText);
        if (!(item.dwStyle & SS_NOPREFIX))
            label->setText(QString(text).remove(QLatin1Char('&')));
        const DWORD align = item.dwStyle & 0x3;
        label->setAlignment(align == SS_CENTER  ? Qt::AlignHCenter | Qt::AlignTop
                            : align == SS_RIGHT ? Qt::AlignRight | Qt::AlignTop
                                                : Qt::AlignLeft | Qt::AlignTop);
        widget = label;
    } else {
        return;
    }
    widget->setGeometry(geometry);
    if (item.nID != -1)
        widget->setObjectName(QStringLiteral("item%1").arg(item.nID));
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

std::intptr_t CDialog::DoModal() {
    const AFX_DIALOG_RESOURCE* resource = AfxFindDialog(m_nIDTemplate);
    if (resource == nullptr)
        return -1;
    // No owner given: the main window owns the dialog.
    CWnd* owner = m_pParentWnd != nullptr ? m_pParentWnd : AfxGetMainWnd();
    TemplateDialog dialog(this, owner != nullptr ? owner->GetWidget() : nullptr);
    dialog.setWindowTitle(QString::fromUtf8(resource->lpszCaption ? resource->lpszCaption : ""));
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    // "MS Shell Dlg" names the desktop's dialog font: Qt's default font plays that part.
    QFont font = dialog.font();
    if (resource->nPointSize > 0)
        font.setPointSize(resource->nPointSize);
    dialog.setFont(font);
    const DialogUnits du = UnitsOf(font);
    for (std::size_t i = 0; i < resource->nItems; ++i)
        BuildItem(&dialog, resource->pItems[i], du);
    dialog.setFixedSize(du.X(resource->cx), du.Y(resource->cy));

    m_pWidget = &dialog;
    std::intptr_t result = IDCANCEL;
    bool initialised = true;
    AfxCallGuarded([&] { initialised = OnInitDialog(); });
    (void)initialised;
    const int code = dialog.exec();
    result = code;
    m_pWidget = nullptr;
    return result;
}

bool CDialog::OnInitDialog() {
    return true;
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    if (auto* dialog = qobject_cast<QDialog*>(m_pWidget))
        dialog->done(nResult);
}
