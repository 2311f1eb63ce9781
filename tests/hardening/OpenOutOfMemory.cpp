// Opens a document whose counts and data need more memory than the process may have, through
// the document's own OnOpenDocument, in a process whose address space the caller has limited
// (ulimit -v). The open must be refused with the framework's message, leave an empty document
// and let the program go on.
//
//   hardening_open_oom --address-space   prints the bytes of address space in use once the
//                                         program has started, for the caller to set the limit
//   hardening_open_oom FILE               opens FILE and checks the outcome; exit status 0 when
//                                         everything held

#include "document/CSwoop2Doc.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CMemFile.h"

#include <QGuiApplication>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

long long AddressSpaceBytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmSize:", 0) == 0)
            return std::stoll(line.substr(7)) * 1024;
    }
    return -1;
}

int Fail(const char* what) {
    std::fprintf(stderr, "FAIL: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return Fail("usage: hardening_open_oom --address-space | FILE");

    CSwoop2Doc doc;
    if (std::string(argv[1]) == "--address-space") {
        std::printf("%lld\n", AddressSpaceBytes());
        return 0;
    }

    std::string message;
    int messages = 0;
    SetMessageBoxHook([&](const std::string& text, UINT) {
        message = text;
        ++messages;
        return IDOK;
    });

    // The drawing held before the open: a failed open takes it away too.
    CCurve* before = doc.NewCurve();
    before->m_points = {{1, 2}, {3, 4}};
    doc.m_pSelected = before;

    if (doc.OnOpenDocument(argv[1]))
        return Fail("the open succeeded");
    std::printf("reported: %s\n", message.c_str());
    if (messages != 1)
        return Fail("the failure was not reported exactly once");
    if (message.find("not enough memory") == std::string::npos)
        return Fail("the report does not name the lack of memory");
    if (!doc.m_curves.empty() || doc.m_pSelected != nullptr)
        return Fail("the document is not empty");
    if (doc.IsModified())
        return Fail("the emptied document is marked modified");

    // The program goes on: a new curve is drawn and the drawing saves.
    CCurve* after = doc.NewCurve();
    after->m_points = {{5, 6}};
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    doc.Serialize(ar);
    ar.Close();
    if (file.GetData().size() != 16)
        return Fail("the drawing after the failure does not save");
    std::printf("refused, reported, empty, and going on\n");
    return 0;
}
