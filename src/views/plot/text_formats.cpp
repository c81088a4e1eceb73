#include "views/plot/text_formats.h"

#include <charconv>
#include <cmath>

#include "text/text_lines.h"

namespace scenariogen::plotting {

std::string fixed(double v, int decimals) {
    char buf[48];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, result.ptr);
    if (s.front() == '-') s.replace(0, 1, "\u2212");
    return s;
}

std::string km_text(double metres) { return fixed(metres / 1000.0, 3) + " km"; }

std::string signed_text(long v) {
    if (v > 0) return "+" + std::to_string(v);
    if (v < 0) return "\u2212" + std::to_string(-v);
    return "0";
}

std::string clock_text(std::int64_t seconds) {
    if (seconds < 0) return "\u2212" + clock_text(-seconds);
    const std::int64_t h = seconds / 3600;
    const std::int64_t m = (seconds / 60) % 60;
    const std::int64_t s = seconds % 60;
    std::string out = std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
    if (s != 0) out += std::string(":") + (s < 10 ? "0" : "") + std::to_string(s);
    return out;
}

namespace {

// The text without the blanks around it.
std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return "";
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string table_text(std::string_view bytes) { return trimmed(from_windows_1252(bytes)); }

std::string sign_lines(std::string_view bytes) {
    const std::string text = from_windows_1252(bytes);
    const std::string_view utf8 = text;
    std::string out;
    std::size_t at = 0;
    while ((at = utf8.find('(', at)) != std::string_view::npos) {
        const auto close = utf8.find(')', at + 1);
        const std::string line =
            trimmed(utf8.substr(at + 1, close == std::string_view::npos ? std::string_view::npos : close - at - 1));
        if (!line.empty()) out += (out.empty() ? "" : " / ") + line;
        if (close == std::string_view::npos) break;
        at = close + 1;
    }
    return out.empty() ? trimmed(utf8) : out;
}

std::string kilometre_value_text(double metres, double step_m) {
    if (step_m >= 1000) return fixed(metres / 1000.0, 0);
    return fixed(metres / 1000.0, 1);
}

std::string written_at_note(std::size_t first_cell) {
    if (first_cell <= 1) return "";
    const double start = (static_cast<double>(first_cell) - 1) * 50;
    return " (written at " + km_text(start + 50) +
           ": a value written at p holds from the start of the cell that ends at p, here " + km_text(start) + ")";
}

std::string two_digits(double v) {
    if (!(v > 0) || !std::isfinite(v)) return "0";
    const double unit = std::pow(10.0, std::floor(std::log10(v)) - 1);
    const double rounded = std::round(v / unit) * unit;
    if (rounded < 10) return fixed(rounded, 1);
    std::string text = fixed(rounded, 0);
    for (int i = static_cast<int>(text.size()) - 3; i > 0 && rounded >= 10000; i -= 3) {
        text.insert(static_cast<std::size_t>(i), "\u2009");
    }
    return text;
}

double nice_step(double at_least) {
    if (!(at_least > 0) || !std::isfinite(at_least)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(at_least)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= at_least * (1 - 1e-9)) return m * power;
    }
    return 10 * power;
}

}  // namespace scenariogen::plotting
