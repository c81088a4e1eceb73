// The SVG text of the page: elements appended one after the other, numbers
// written short, text escaped.
#pragma once

#include <string>
#include <string_view>

#include "views/plot/page_layout.h"

namespace scenariogen::plotting {

// A length or coordinate in millimetres, with at most two decimals and no
// trailing zeros; "0" for what is not a number.
std::string num(double v);

// UTF-8 text made safe for XML: markup characters escaped, control
// characters that XML 1.0 forbids replaced.
std::string xml(std::string_view utf8);

class Svg {
public:
    std::string out;

    void open_group(const std::string& attributes, const std::string& title = "");
    void close_group() { out += "</g>\n"; }

    void line(PagePoint a, PagePoint b, const std::string& style);
    void rect(const Box& b, const std::string& style);
    void circle(PagePoint c, double r, const std::string& style);
    void path(const std::string& d, const std::string& style) { out += "<path d=\"" + d + "\" " + style + "/>\n"; }
    // anchor: "start", "middle" or "end".
    void text(PagePoint at, double size, const std::string& utf8, const std::string& style = "",
              const char* anchor = "start");
    void vertical_text(PagePoint at, double size, const std::string& utf8, const std::string& style = "");
};

// Presentation attributes.
std::string stroke(const char* colour, double width, const std::string& dash = "");
std::string fill(const char* colour);
std::string fill_and_stroke(const char* fill_colour, const char* stroke_colour, double width);
// Text over lines: a white halo keeps it readable.
inline const std::string kHalo =
    "stroke=\"#fff\" stroke-width=\"0.5\" stroke-linejoin=\"round\" paint-order=\"stroke\"";

}  // namespace scenariogen::plotting
