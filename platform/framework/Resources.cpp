#include "platform/framework/Resources.h"

#include <map>

namespace {

struct Registry {
    std::map<UINT, const char*> strings;
    std::map<UINT, const AFX_MENU_RESOURCE*> menus;
    std::map<UINT, const AFX_ACCEL_RESOURCE*> accels;
    std::map<UINT, const AFX_TOOLBAR_RESOURCE*> toolBars;
    std::map<UINT, const AFX_ICON_RESOURCE*> icons;
    std::map<UINT, const AFX_DIALOG_RESOURCE*> dialogs;
};

// Registrations run during static initialisation, in any order across files.
Registry& TheRegistry() {
    static Registry registry;
    return registry;
}

template <class T, class Map> void AddAll(Map& map, std::span<const T> items) {
    for (const T& item : items)
        map[item.nID] = &item;
}

template <class Map> auto Find(const Map& map, UINT nID) -> typename Map::mapped_type {
    const auto it = map.find(nID);
    return it == map.end() ? nullptr : it->second;
}

} // namespace

void AfxRegisterResources(const AFX_RESOURCES& r) {
    Registry& reg = TheRegistry();
    for (const AFX_STRING_RESOURCE& string : r.strings)
        reg.strings[string.nID] = string.lpszText;
    AddAll(reg.menus, r.menus);
    AddAll(reg.accels, r.accels);
    AddAll(reg.toolBars, r.toolBars);
    AddAll(reg.icons, r.icons);
    AddAll(reg.dialogs, r.dialogs);
}

bool AfxLoadString(UINT nID, std::string& text) {
    const char* found = Find(TheRegistry().strings, nID);
    if (found == nullptr)
        return false;
    text = found;
    return true;
}

std::string AfxLoadString(UINT nID) {
    std::string text;
    AfxLoadString(nID, text);
    return text;
}

const AFX_MENU_RESOURCE* AfxFindMenu(UINT nID) {
    return Find(TheRegistry().menus, nID);
}
const AFX_ACCEL_RESOURCE* AfxFindAccelerators(UINT nID) {
    return Find(TheRegistry().accels, nID);
}
const AFX_TOOLBAR_RESOURCE* AfxFindToolBar(UINT nID) {
    return Find(TheRegistry().toolBars, nID);
}
const AFX_ICON_RESOURCE* AfxFindIcon(UINT nID) {
    return Find(TheRegistry().icons, nID);
}
const AFX_DIALOG_RESOURCE* AfxFindDialog(UINT nID) {
    return Find(TheRegistry().dialogs, nID);
}

std::string AfxExtractSubString(const std::string& text, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        const std::size_t nl = text.find('\n', start);
        if (nl == std::string::npos)
            return {};
        start = nl + 1;
    }
    const std::size_t end = text.find('\n', start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end - start);
}
