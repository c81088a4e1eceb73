#include "views/plot/profile_bands.h"

#include <cmath>
#include <string>

#include "views/plot/curve_stretches.h"
#include "views/plot/line_thinning.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"

namespace scenariogen::plotting {

namespace {

// A rectangle nobody sees that carries a title over a stretch of a band.
std::string hover_box(const Box& b, const std::string& title) {
    return "<rect x=\"" + num(b.x0) + "\" y=\"" + num(b.y0) + "\" width=\"" + num(b.x1 - b.x0) + "\" height=\"" +
           num(b.y1 - b.y0) + "\" fill=\"#000\" fill-opacity=\"0\"><title>" + xml(title) + "</title></rect>\n";
}

// The value of a band's stretch in its middle, where there is room for it.
std::string band_label(double a, double b, double y, const std::string& long_text, const std::string& short_text) {
    const std::string* shown = nullptr;
    if (text_width(long_text, 1.9) + 0.6 < b - a) {
        shown = &long_text;
    } else if (text_width(short_text, 1.9) + 0.4 < b - a) {
        shown = &short_text;
    }
    if (shown == nullptr) return "";
    return "<text x=\"" + num((a + b) / 2) + "\" y=\"" + num(y) + "\" text-anchor=\"middle\" " + kHalo + ">" +
           xml(*shown) + "</text>\n";
}

struct GradientBand {
    std::string separators, slopes, labels, hovers;
};

// One stretch of equal gradient, cells first to last: a slope across the
// band, its value where there is room, and what it is on hover.
void gradient_stretch(const std::vector<Cell>& cells, const ProfileScale& scale, std::size_t first, std::size_t last,
                      GradientBand& band) {
    const double mid = (kGradientTop + kGradientBottom) / 2;
    const double from = position_to_cell_start(first);
    const double to = std::min(static_cast<double>(last) * kCellLength, static_cast<double>(scale.end_m()));
    if (!scale.shows(from, to)) return;
    const double a = scale.framed_X(from), b = scale.framed_X(to);
    const int g = cells[first].gradient - 100;
    if (b - a > 1.2) {
        const double rise = g > 0 ? 1.6 : g < 0 ? -1.6 : 0;
        band.slopes += "M" + num(a + 0.3) + " " + num(mid + rise) + "L" + num(b - 0.3) + " " + num(mid - rise);
    }
    const std::string value = signed_text(g);
    band.labels += band_label(a, b, mid + 0.7, value + "\u2009\u2030", value);
    if (b - a >= 0.6) {
        band.hovers +=
            hover_box({a, kGradientTop, b, kGradientBottom}, "Gradient " + value + " \u2030 from " + km_text(from) +
                                                                 " to " + km_text(to) + written_at_note(first));
    }
}

}  // namespace

void draw_gradient_band(Svg& svg, const PageContent& content, const ProfileData& data, const ProfileScale& scale) {
    svg.rect({kProfileX0, kGradientTop, kProfileX1, kGradientBottom}, stroke(kInk, 0.2));
    svg.text({kProfileX0 - 1.5, (kGradientTop + kGradientBottom) / 2 + 0.7}, 2, "Gradient (\u2030)", "", "end");
    if (data.last_data_cell == 0) return;
    const std::vector<Cell>& cells = content.cells;
    GradientBand band;
    double last_separator = -kColumnWidth;
    std::size_t first = 1;
    for (std::size_t i = 1; i <= data.last_data_cell; ++i) {
        if (i < data.last_data_cell && cells[i + 1].gradient == cells[first].gradient) continue;
        // Separators closer than a column of the page would only darken the band.
        const double a = scale.X(position_to_cell_start(first));
        if (first > 1 && scale.on_profile(position_to_cell_start(first)) && a - last_separator >= kColumnWidth) {
            band.separators += "M" + num(a) + " " + num(kGradientTop) + "V" + num(kGradientBottom);
            last_separator = a;
        }
        gradient_stretch(cells, scale, first, i, band);
        first = i + 1;
    }
    svg.open_group("font-size=\"1.9\"");
    svg.path(band.slopes, stroke("#9a9a9a", 0.15));
    svg.path(band.separators, stroke(kInk, 0.2));
    svg.out += band.labels;
    svg.out += band.hovers;
    svg.close_group();
}

std::size_t draw_curve_band(Svg& svg, const PageContent& content, const ProfileScale& scale) {
    const double mid = (kCurveTop + kCurveBottom) / 2;
    svg.rect({kProfileX0, kCurveTop, kProfileX1, kCurveBottom}, stroke(kInk, 0.2));
    svg.text({kProfileX0 - 1.5, mid + 0.7}, 2, "Curves", "", "end");
    svg.line({kProfileX0, mid}, {kProfileX1, mid}, stroke("#9a9a9a", 0.15));
    const std::vector<CurveStretch> curves = curve_stretches(content.plan, scale.end_m());
    std::string blocks, labels, hovers;
    for (const CurveStretch& c : curves) {
        if (!scale.shows(c.from_m, c.to_m)) continue;
        const double a = scale.framed_X(c.from_m);
        const double b = std::max(scale.framed_X(c.to_m), a + 0.3);
        const Box box = c.right ? Box{a, kCurveTop + 0.6, b, mid} : Box{a, mid, b, kCurveBottom - 0.6};
        blocks +=
            "M" + num(box.x0) + " " + num(box.y0) + "H" + num(box.x1) + "V" + num(box.y1) + "H" + num(box.x0) + "Z";
        const std::string radius = fixed(std::round(c.radius_m), 0);
        labels += band_label(a, b, c.right ? mid - 0.5 : mid + 2.0, "R " + radius + " m", radius);
        hovers += hover_box(box, std::string(c.right ? "Right" : "Left") + " curve of radius " + radius + " m from " +
                                     km_text(c.from_m) + " to " + km_text(c.to_m));
    }
    svg.open_group("font-size=\"1.6\"");
    svg.path(blocks, std::string("fill=\"") + kCurveColour + "\" fill-opacity=\"0.35\" stroke=\"" + kCurveColour +
                         "\" stroke-width=\"0.15\"");
    svg.out += labels;
    svg.out += hovers;
    svg.close_group();
    if (curves.empty()) {
        svg.text({kProfileX0 + 1, mid + 0.6}, 1.8, content.plan.empty() ? "none: the grid holds no plan" : "none",
                 "fill=\"#777\" font-style=\"italic\"");
    }
    return curves.size();
}

}  // namespace scenariogen::plotting
