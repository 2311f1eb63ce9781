#pragma once

#include <string>

// What the command line asks for. The program's forms are no argument (a new document) and
// one file name (open it). Options start with "-"; "--" ends them, so that a file whose name
// starts with "-" can be named.
class CCommandLineInfo {
public:
    enum ShellCommand { FileNew, FileOpen, FileNothing = -1 };

    virtual ~CCommandLineInfo() = default;
    // Called for each argument; bFlag when it is an option (given without its "-").
    virtual void ParseParam(const char* pszParam, bool bFlag, bool bLast);

    ShellCommand m_nShellCommand = FileNew;
    std::string m_strFileName;
    bool m_bUnknownOption = false;
};
