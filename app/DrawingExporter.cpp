#include "app/DrawingExporter.h"

#include "app/ReadableText.h"
#include "app/Version.h"
#include "document/CSwoop2Doc.h"
#include "document/SvgDrawing.h"
#include "platform/framework/AfxMessageBox.h"
#include "platform/framework/AfxWriteWholeFile.h"
#include "platform/framework/CPrintInfo.h"
#include "platform/gdi/CPdfPage.h"
#include "platform/gdi/CPicture.h"
#include "view/CSwoop2View.h"

#include <algorithm>
#include <climits>
#include <filesystem>
#include <limits>
#include <memory>
#include <vector>

namespace {

std::int32_t ClampToInt32(std::int64_t v) {
    return std::int32_t(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

std::string SizeText(const CRect& area) {
    return std::to_string(area.Width()) + " by " + std::to_string(area.Height()) + " pixels";
}

// The program's own view over the document, with no window: it paints exactly as the window's
// view does, and goes with the document's list of views when this goes.
class WindowlessView {
public:
    explicit WindowlessView(CSwoop2Doc& doc)
        : m_view(static_cast<CSwoop2View*>(RUNTIME_CLASS(CSwoop2View)->CreateObject())) {
        doc.AddView(m_view.get());
    }
    CSwoop2View* operator->() const { return m_view.get(); }

private:
    std::unique_ptr<CSwoop2View> m_view;
};

std::string WriteBytes(const std::string& path, const std::string& bytes) {
    return AfxWriteWholeFile(path, bytes.data(), bytes.size());
}

std::string WritePng(CSwoop2Doc& doc, const std::string& path, const CRect& area) {
    if (!CPicture::IsWithinLimits(area.Width(), area.Height()))
        return "The picture would be " + SizeText(area) + ", more than the " +
               std::to_string(CPicture::kMaxSide) + " by " + std::to_string(CPicture::kMaxSide) +
               " pixels and " + std::to_string(CPicture::kMaxBytes >> 20) +
               " MiB allowed; choose a part of the drawing with --export-area.";
    CPicture picture;
    if (!picture.Create(area))
        return "There is not enough memory for a picture of " + SizeText(area) + ".";
    WindowlessView view(doc);
    view->OnDraw(picture.GetDC());
    const std::string png = picture.EncodePng();
    if (png.empty())
        return "The picture could not be encoded as PNG.";
    return WriteBytes(path, png);
}

// What a file names as the program that made it, as the version option shows it.
std::string Creator() {
    return std::string("Swoop2 ") + kSwoop2Version;
}

std::string WritePdf(CSwoop2Doc& doc, const std::string& path, const CRect& area) {
    if (area.Width() > CPdfPage::kMaxSide || area.Height() > CPdfPage::kMaxSide)
        return "The page would be " + SizeText(area) + ", more than the " +
               std::to_string(CPdfPage::kMaxSide) +
               " a side that PDF allows; choose a part of the drawing with --export-area.";
    CPdfPage page;
    if (!page.Begin(area, ReadableText(doc.GetTitle()), Creator()))
        return "The PDF document could not be started.";
    {
        // The page goes through the printing path of the view, as a printed page does.
        WindowlessView view(doc);
        CPrintInfo info;
        info.m_bDirect = true;
        info.m_rectDraw = CRect(0, 0, ClampToInt32(area.Width()), ClampToInt32(area.Height()));
        view->OnBeginPrinting(page.GetDC(), &info);
        view->OnPrepareDC(page.GetDC(), &info);
        view->OnPrint(page.GetDC(), &info);
        view->OnEndPrinting(page.GetDC(), &info);
    }
    const std::string pdf = page.End();
    if (pdf.empty())
        return "The PDF document could not be finished.";
    return WriteBytes(path, pdf);
}

} // namespace

CRect DrawingExporter::ExtentOf(const CSwoop2Doc& doc) {
    std::int64_t left = std::numeric_limits<std::int64_t>::max();
    std::int64_t top = left;
    std::int64_t right = std::numeric_limits<std::int64_t>::min();
    std::int64_t bottom = right;
    for (const auto& curve : doc.m_curves) {
        if (curve == nullptr)
            continue;
        for (const CPoint& pt : curve->ToBezier()) {
            left = std::min<std::int64_t>(left, pt.x);
            top = std::min<std::int64_t>(top, pt.y);
            right = std::max<std::int64_t>(right, pt.x);
            bottom = std::max<std::int64_t>(bottom, pt.y);
        }
    }
    if (left > right)
        left = top = right = bottom = 0;
    // The largest point's pixel belongs to the drawing: the excluded edge lies one beyond it.
    return CRect(ClampToInt32(left - kMargin), ClampToInt32(top - kMargin),
                 ClampToInt32(right + 1 + kMargin), ClampToInt32(bottom + 1 + kMargin));
}

std::string DrawingExporter::Write(CSwoop2Doc& doc, const std::string& path,
                                   CommandLine::Format format, const CRect& area) {
    if (area.IsRectEmpty())
        return "The area to write is empty.";
    switch (format) {
    case CommandLine::Format::Png:
        return WritePng(doc, path, area);
    case CommandLine::Format::Svg: {
        std::vector<const CCurve*> curves;
        curves.reserve(doc.m_curves.size());
        for (const auto& curve : doc.m_curves)
            curves.push_back(curve.get());
        return WriteBytes(path,
                          SvgDrawing::Build(curves, area, ReadableText(doc.GetTitle()), Creator()));
    }
    case CommandLine::Format::Pdf:
        return WritePdf(doc, path, area);
    }
    return "The format is not known.";
}

std::string DrawingExporter::Export(CSwoop2Doc& doc, const std::string& path,
                                    CommandLine::Format format) {
    // Written over the drawing's own file, the picture would take the drawing's place.
    std::error_code error;
    if (!doc.GetPathName().empty() && std::filesystem::equivalent(doc.GetPathName(), path, error))
        return "It is the drawing's own file.";
    // The drawing as the window shows it, less the selection's handles: a copy of its curves
    // under the same title, closed curves still closed. For a drawing read from a file this is
    // exactly what the command line writes for it.
    CSwoop2Doc copy;
    copy.SetTitle(doc.GetTitle());
    for (const auto& curve : doc.m_curves)
        if (curve != nullptr)
            copy.AddCurve(std::make_unique<CCurve>(*curve));
    return Write(copy, path, format, ExtentOf(copy));
}

std::string DrawingExporter::FailureMessage(const std::string& path, const std::string& cause) {
    return "Could not write \"" + path + "\".\n" + cause;
}

int DrawingExporter::Run(const CommandLine& request) {
    CSwoop2Doc doc;
    // The framework reports a drawing that cannot be read, naming the file and the cause.
    if (!doc.OnOpenDocument(request.m_strInput))
        return 1;
    // The title that the window's caption would show, which the written file names as its own.
    doc.SetPathName(request.m_strInput, false);
    const CRect area = request.m_bHasArea ? request.m_area : ExtentOf(doc);
    // A picture written over the drawing it was made from would lose the drawing.
    std::error_code error;
    const bool same = std::filesystem::equivalent(request.m_strInput, request.m_strOutput, error);
    const std::string failure = same ? "It is the drawing being read."
                                     : Write(doc, request.m_strOutput, request.m_format, area);
    if (!failure.empty()) {
        AfxMessageBox(FailureMessage(request.m_strOutput, failure), MB_OK | MB_ICONEXCLAMATION);
        return 1;
    }
    return 0;
}
