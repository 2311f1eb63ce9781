// A document file of any bytes, loaded through the document's own Serialize over the archive.
// A file that loads must store back to the bytes it was read from, up to what loading read:
// anything beyond the last announced curve is not part of the drawing.

#include "FuzzCheck.h"

#include "document/CSwoop2Doc.h"
#include "platform/framework/CArchive.h"
#include "platform/framework/CException.h"
#include "platform/framework/CMemFile.h"

#include <cstring>
#include <new>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CSwoop2Doc doc;
    try {
        CMemFile file(data, size);
        CArchive ar(&file, CArchive::load);
        doc.Serialize(ar);
    } catch (const CArchiveException& e) {
        // The only way a well-formed reader may refuse bytes is by running out of them.
        FUZZ_CHECK(e.m_cause == CArchiveException::endOfFile);
        FUZZ_CHECK(doc.m_curves.empty());
        return 0;
    }

    FUZZ_CHECK(doc.m_pSelected == nullptr);
    for (const auto& curve : doc.m_curves) {
        FUZZ_CHECK(curve != nullptr);
        FUZZ_CHECK(!curve->m_bClosed);
    }

    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        doc.Serialize(ar);
        ar.Close();
    }
    const auto& stored = out.GetData();
    FUZZ_CHECK(stored.size() <= size);
    FUZZ_CHECK(std::memcmp(stored.data(), data, stored.size()) == 0);
    return 0;
}
