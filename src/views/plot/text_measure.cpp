#include "views/plot/text_measure.h"

namespace scenariogen::plotting {

double text_width(std::string_view utf8, double size) {
    double em = 0;
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) == 0x80) continue;  // inside a multi-byte character
        if (c >= 'A' && c <= 'Z') {
            em += 0.74;
        } else if (c >= 'a' && c <= 'z') {
            em += 0.6;
        } else if (c >= '0' && c <= '9') {
            em += 0.64;
        } else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == '(' || c == ')') {
            em += 0.34;
        } else {
            em += 0.7;
        }
    }
    return em * size;
}

std::string fit_text(const std::string& text, double size, double room) {
    if (text_width(text, size) <= room) return text;
    const double budget = room - text_width("\u2026", size);
    std::string cut;
    double width = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        const std::string character = text.substr(i, n);
        const double w = text_width(character, size);
        if (width + w > budget) break;
        cut += character;
        width += w;
        i += n;
    }
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    return cut.empty() ? cut : cut + "\u2026";
}

}  // namespace scenariogen::plotting
