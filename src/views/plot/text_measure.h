// How much room a text takes on the page: there is no font at hand, so the
// widths are generous estimates for the page's sans-serif font.
#pragma once

#include <string>
#include <string_view>

namespace scenariogen::plotting {

// The width in millimetres of a UTF-8 text at a font size in millimetres.
double text_width(std::string_view utf8, double size);

// The text, shortened with an ellipsis to fit `room` millimetres; empty
// when not even one character fits.
std::string fit_text(const std::string& text, double size, double room);

}  // namespace scenariogen::plotting
