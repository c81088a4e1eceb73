#include "views/plot/svg_writer.h"

#include <charconv>
#include <cmath>

namespace scenariogen::plotting {

std::string num(double v) {
    if (!std::isfinite(v)) return "0";
    if (std::abs(v) < 0.005) return "0";
    char buf[48];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    std::string s(buf, result.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

std::string xml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += "\uFFFD";
                } else {
                    out += c;
                }
        }
    }
    return out;
}

void Svg::open_group(const std::string& attributes, const std::string& title) {
    out += "<g";
    if (!attributes.empty()) out += " " + attributes;
    out += ">";
    if (!title.empty()) out += "<title>" + xml(title) + "</title>";
    out += "\n";
}

void Svg::line(PagePoint a, PagePoint b, const std::string& style) {
    out += "<line x1=\"" + num(a.x) + "\" y1=\"" + num(a.y) + "\" x2=\"" + num(b.x) + "\" y2=\"" + num(b.y) + "\" " +
           style + "/>\n";
}

void Svg::rect(const Box& b, const std::string& style) {
    out += "<rect x=\"" + num(b.x0) + "\" y=\"" + num(b.y0) + "\" width=\"" + num(b.x1 - b.x0) + "\" height=\"" +
           num(b.y1 - b.y0) + "\" " + style + "/>\n";
}

void Svg::circle(PagePoint c, double r, const std::string& style) {
    out += "<circle cx=\"" + num(c.x) + "\" cy=\"" + num(c.y) + "\" r=\"" + num(r) + "\" " + style + "/>\n";
}

void Svg::text(PagePoint at, double size, const std::string& utf8, const std::string& style, const char* anchor) {
    out += "<text x=\"" + num(at.x) + "\" y=\"" + num(at.y) + "\" font-size=\"" + num(size) + "\"";
    if (std::string_view(anchor) != "start") out += std::string(" text-anchor=\"") + anchor + "\"";
    if (!style.empty()) out += " " + style;
    out += ">" + xml(utf8) + "</text>\n";
}

void Svg::vertical_text(PagePoint at, double size, const std::string& utf8, const std::string& style) {
    out += "<text transform=\"translate(" + num(at.x) + " " + num(at.y) + ") rotate(-90)\" font-size=\"" + num(size) +
           "\" text-anchor=\"middle\"";
    if (!style.empty()) out += " " + style;
    out += ">" + xml(utf8) + "</text>\n";
}

std::string stroke(const char* colour, double width, const std::string& dash) {
    std::string s = std::string("fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"" + num(width) + "\"";
    if (!dash.empty()) s += " stroke-dasharray=\"" + dash + "\"";
    return s;
}

std::string fill(const char* colour) { return std::string("fill=\"") + colour + "\" stroke=\"none\""; }

std::string fill_and_stroke(const char* fill_colour, const char* stroke_colour, double width) {
    return std::string("fill=\"") + fill_colour + "\" stroke=\"" + stroke_colour + "\" stroke-width=\"" + num(width) +
           "\"";
}

}  // namespace scenariogen::plotting
