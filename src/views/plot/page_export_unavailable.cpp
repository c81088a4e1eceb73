// A build without librsvg and cairo: the pages are written as SVG only.
#include "views/plot/page_export.h"

namespace scenariogen {

std::string page_rendering_unavailable() {
    return "this build of scenariogen writes the pages as SVG only (it holds no SVG renderer for PNG and PDF): "
           "write them with --format svg, and open the SVG in a browser to print it or save it as PDF";
}

std::string render_png(const std::string&, const PageSheet&, double) {
    throw PageRenderError(page_rendering_unavailable());
}

std::string render_pdf(const std::string&, const PageSheet&) { throw PageRenderError(page_rendering_unavailable()); }

}  // namespace scenariogen
