#include "views/plot/page_export.h"

namespace scenariogen {

std::string page_bytes(const std::string& svg, std::size_t pages, PageFormat format, double dpi) {
    const PageSheet sheet{297, 210, static_cast<int>(pages)};
    if (format == PageFormat::kPng) return render_png(svg, sheet, dpi);
    if (format == PageFormat::kPdf) return render_pdf(svg, sheet);
    return svg;
}

}  // namespace scenariogen
