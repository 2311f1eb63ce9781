#include "platform/framework/internal/ResourcesQt.h"

#include "platform/framework/AfxRes.h"

#include <QImage>
#include <QPixmap>

namespace {

QPixmap Pixmap(const AFX_IMAGE& image) {
    const QImage pixels(reinterpret_cast<const uchar*>(image.pPixels), image.cx, image.cy,
                        qsizetype(image.cx) * 4, QImage::Format_ARGB32_Premultiplied);
    return QPixmap::fromImage(pixels);
}

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
    // The named keys that accelerators use, beside letters, digits and function keys.
    static constexpr struct {
        unsigned short vk;
        int key;
    } kNamedKeys[] = {
        {VK_BACK, Qt::Key_Backspace},  {VK_TAB, Qt::Key_Tab},      {VK_RETURN, Qt::Key_Return},
        {VK_ESCAPE, Qt::Key_Escape},   {VK_SPACE, Qt::Key_Space},  {VK_INSERT, Qt::Key_Insert},
        {VK_DELETE, Qt::Key_Delete},   {VK_ADD, Qt::Key_Plus},     {VK_OEM_PLUS, Qt::Key_Equal},
        {VK_OEM_MINUS, Qt::Key_Minus}, {VK_PRIOR, Qt::Key_PageUp}, {VK_NEXT, Qt::Key_PageDown},
        {VK_END, Qt::Key_End},         {VK_HOME, Qt::Key_Home},    {VK_LEFT, Qt::Key_Left},
        {VK_UP, Qt::Key_Up},           {VK_RIGHT, Qt::Key_Right},  {VK_DOWN, Qt::Key_Down},
    };
    int key = 0;
    const unsigned short k = accel.key;
    if ((k >= 'A' && k <= 'Z') || (k >= '0' && k <= '9'))
        key = k; // Qt's letter and digit keys have the same codes
    else if (k >= VK_F1 && k <= VK_F1 + 23)
        key = Qt::Key_F1 + (k - VK_F1);
    for (const auto& named : kNamedKeys) {
        if (named.vk == k)
            key = named.key;
    }
    if (key == 0)
        return {};
    int modifiers = 0;
    if (accel.fVirt & FCONTROL)
        modifiers |= Qt::CTRL;
    if (accel.fVirt & FSHIFT)
        modifiers |= Qt::SHIFT;
    if (accel.fVirt & FALT)
        modifiers |= Qt::ALT;
    return QKeySequence(key | modifiers);
}

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
