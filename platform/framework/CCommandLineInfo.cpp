#include "platform/framework/CCommandLineInfo.h"

void CCommandLineInfo::ParseParam(const char* pszParam, bool bFlag, bool) {
    if (bFlag) {
        m_bUnknownOption = true;
        return;
    }
    // The first file name counts; later ones are ignored as the framework always has.
    if (m_nShellCommand == FileOpen)
        return;
    m_nShellCommand = FileOpen;
    m_strFileName = pszParam;
}
