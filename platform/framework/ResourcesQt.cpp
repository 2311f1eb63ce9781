#include "platform/framework/internal/ResourcesQt.h"

#include "platform/framework/AfxRes.h"

#include <QPixmap>

namespace {

QPixmap Pixmap(const AFX_IMAGE& image) {
    QPixmap pixmap;
    pixmap.loadFromData(image.pData, uint(image.nSize));
    return pixmap;
}

} // namespace

QIcon AfxLoadIcon(UINT nID) {
    const AFX_ICON_RESOURCE* icon = AfxFindIcon(nID);
    QIcon result;
    if (icon == nullptr)
        return result;
    for (std::size_t i = 0; i < icon->nImages; ++i)
        result.addPixmap(Pixmap(*icon->pImages[i]));
    return result;
}

QKeySequence AfxAccelKey(const ACCEL& accel) {
    int key = 0;
    const unsigned short k = accel.key;
    if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9'))
        key = k; // Qt's letter and digit keys have the same codes
    else if (k >= VK_F1 && k <= VK_F1 + 23)
        key = Qt::Key_F1 + (k - VK_F1);
    else {
        switch (k) {
        case VK_BACK:
            key = Qt::Key_Backspace;
            break;
        case VK_TAB:
            key = Qt::Key_Tab;
            break;
        case VK_RETURN:
            key = Qt::Key_Return;
            break;
        case VK_ESCAPE:
            key = Qt::Key_Escape;
            break;
        case VK_SPACE:
            key = Qt::Key_Space;
            break;
        case VK_INSERT:
            key = Qt::Key_Insert;
            break;
        case VK_DELETE:
            key = Qt::Key_Delete;
            break;
        default:
            return {};
        }
    }
    int modifiers = 0;
    if (accel.fVirt & FCONTROL)
        modifiers |= Qt::CTRL;
    if (accel.fVirt & FSHIFT)
        modifiers |= Qt::SHIFT;
    if (accel.fVirt & FALT)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}

namespace {

// Only a desktop's own icon theme carries action icons. Without one Qt falls back to hicolor,
// which has none, and asking it would load every image plugin at start-up for nothing.
bool DesktopIconTheme() {
    static const bool named = [] {
        const QString theme = QIcon::themeName();
        return !theme.isEmpty() && theme != QLatin1String("hicolor");
    }();
    return named;
}

} // namespace

QIcon AfxButtonIcon(const AFX_TOOLBAR_BUTTON& button) {
    QIcon own;
    if (button.pImage != nullptr)
        own.addPixmap(Pixmap(*button.pImage));
    if (button.lpszThemeIcon != nullptr && DesktopIconTheme() &&
        QIcon::hasThemeIcon(button.lpszThemeIcon))
        return QIcon::fromTheme(button.lpszThemeIcon, own);
    return own;
}

QString AfxCommandPrompt(UINT nID) {
    return QString::fromStdString(AfxExtractSubString(AfxLoadString(nID), 0));
}

QString AfxCommandTip(UINT nID) {
    return QString::fromStdString(AfxExtractSubString(AfxLoadString(nID), 1));
}
