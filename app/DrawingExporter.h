#pragma once

#include "app/CommandLine.h"
#include "platform/geometry/CRect.h"

#include <cstdint>
#include <string>

class CSwoop2Doc;

// Writes a drawing to a PNG, SVG or PDF file without a window. The picture is what the view
// paints, through the view itself: the PNG with the window's own rasteriser, the PDF through the
// painter that printing uses. SVG and PDF files name the document's title and this program, as
// desktop viewers show them. Files are written whole or not at all.
class DrawingExporter {
public:
    // Pixels of white around the drawing's extent.
    static constexpr std::int32_t kMargin = 10;

    // The bounds of every curve's Bezier points, right and bottom edges excluded, grown by the
    // margin on every side; a drawing without points gives the margin around the origin.
    static CRect ExtentOf(const CSwoop2Doc& doc);

    // Writes the part of the drawing inside the area as the file. Returns an empty string on
    // success, else a sentence that gives the cause.
    static std::string Write(CSwoop2Doc& doc, const std::string& path, CommandLine::Format format,
                             const CRect& area);

    // Writes the drawing as File > Export does: the same bytes as the command line writes for the
    // drawing once saved and opened again, over its extent. The document, its name and its
    // modified flag stay as they were. Returns an empty string on success, else a sentence
    // that gives the cause.
    static std::string Export(CSwoop2Doc& doc, const std::string& path, CommandLine::Format format);

    // The message that reports a file that could not be written, and why.
    static std::string FailureMessage(const std::string& path, const std::string& cause);

    // Opens the drawing the command line names and writes it. Failures are reported with the
    // framework's messages, naming the file and the cause. Returns the exit status: 0 on
    // success, 1 on failure.
    static int Run(const CommandLine& request);
};
