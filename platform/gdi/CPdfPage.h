#pragma once

#include "platform/gdi/CDC.h"
#include "platform/geometry/CRect.h"

#include <memory>
#include <string>

// One page of a PDF document showing one rectangle of a drawing, drawn through a painter as
// printed pages are, so that curves stay vector curves. One unit of the drawing is one point
// (1/72 inch), so that the page is exactly the rectangle: PDF pages measure whole points.
class CPdfPage {
public:
    // The largest page side, in units: PDF readers refuse pages past 200 inches.
    static constexpr std::int64_t kMaxSide = 14400;

    CPdfPage();
    CPdfPage(const CPdfPage&) = delete;
    CPdfPage& operator=(const CPdfPage&) = delete;
    ~CPdfPage();

    // Starts the page of the area, naming the document's title and the program that made it as
    // PDF readers show them (UTF-8 text); false for an empty area, one beyond the limit, or when
    // the document cannot be started.
    bool Begin(const CRect& area, const std::string& title, const std::string& creator);
    // The surface to draw on, in the drawing's coordinates, between Begin and End.
    CDC* GetDC() { return &m_dc; }
    // Ends the page and gives the bytes of the PDF file; empty when it failed.
    std::string End();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
    CDC m_dc;
};
