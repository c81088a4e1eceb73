// The drawn pages as PNG or PDF: the SVG rendered by librsvg onto cairo
// surfaces. A build without those libraries (the Windows build) says so
// instead of rendering.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>

namespace scenariogen {

enum class PageFormat { kSvg, kPng, kPdf };

// The drawing's pages: `count` pages of `width_mm` by `height_mm`, one
// below the other in the SVG.
struct PageSheet {
    double width_mm = 297;
    double height_mm = 210;
    int count = 1;
};

// A page that could not be rendered: what went wrong, in the library's words.
class PageRenderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Why this build renders no PNG or PDF and what to do instead; empty when
// it renders them.
std::string page_rendering_unavailable();

// One PNG of every page, one below the other, at `dpi` pixels per inch.
std::string render_png(const std::string& svg, const PageSheet& sheet, double dpi);

// A PDF with a page of its own for each page of the drawing.
std::string render_pdf(const std::string& svg, const PageSheet& sheet);

// The A4 pages of a drawn SVG (`pages` of them, one below the other) in
// `format`: the SVG as it is, or rendered at `dpi` for a PNG.
std::string page_bytes(const std::string& svg, std::size_t pages, PageFormat format, double dpi);

}  // namespace scenariogen
