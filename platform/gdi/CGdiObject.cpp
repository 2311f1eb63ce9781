#include "platform/gdi/CGdiObject.h"

bool CGdiObject::DeleteObject() {
    if (m_bStock || !m_bValid)
        return false;
    m_bValid = false;
    return true;
}
