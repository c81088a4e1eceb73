#include "compiler/diagnostic_format.h"

#include <algorithm>

#include "compiler/error_numbers.h"
#include "text/windows_1252.h"

namespace scenariogen {

namespace {

bool is_line_end(char c) { return c == '\r' || c == '\n'; }

// Bytes that must not reach a terminal as they are: the C0 controls but the
// tab, DEL, and the bytes that Windows-1252 does not define.
bool shown_escaped(unsigned char b) {
    return (b < 0x20 && b != '\t') || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

std::string escaped(unsigned char b) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("\\x") + kHex[b >> 4] + kHex[b & 0x0F];
}

// How many columns a byte of the line takes once shown.
int shown_width(unsigned char b) { return shown_escaped(b) ? 4 : 1; }

// The padding under the shown line up to byte `from` (0-based): tabs stay
// tabs, so that the caret lines up under the field.
std::string padding(std::string_view line, std::size_t up_to) {
    std::string pad;
    for (std::size_t i = 0; i < up_to && i < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b == '\t') {
            pad += '\t';
        } else {
            pad.append(static_cast<std::size_t>(shown_width(b)), ' ');
        }
    }
    return pad;
}

// A line longer than this is shown in part: the stretch around the place,
// beginning this many bytes before it, with "..." where the line goes on.
constexpr std::size_t kLongestShownLine = 120;
constexpr std::size_t kShownBeforePlace = 40;
constexpr std::string_view kCut = "...";

// The bytes [from, to) of a line of `size` bytes shown for a place at byte `start`.
struct ShownPart {
    std::size_t from = 0;
    std::size_t to = 0;
};
ShownPart shown_part(std::size_t size, std::size_t start) {
    if (size <= kLongestShownLine) return {0, size};
    const std::size_t from =
        std::min(start > kShownBeforePlace ? start - kShownBeforePlace : 0, size - kLongestShownLine);
    return {from, from + kLongestShownLine};
}

// The shown line and the caret under the range: "^" and, for a range of
// more than one byte, "~" under the rest.
std::string source_and_caret(std::string_view whole, int column, int end_column, bool with_range) {
    const std::size_t place = column > 0 ? static_cast<std::size_t>(column - 1) : 0;
    const ShownPart part = shown_part(whole.size(), place);
    const std::string_view line = whole.substr(part.from, part.to - part.from);
    const std::string_view before = part.from > 0 ? kCut : std::string_view();
    const std::string_view after = part.to < whole.size() ? kCut : std::string_view();
    const std::size_t start = place - part.from;
    std::string text = "  " + std::string(before) + printable(line) + std::string(after) + "\n  " +
                       std::string(before.size(), ' ') + padding(line, start) + "^";
    if (with_range && end_column > column + 1) {
        const std::size_t end = std::min(static_cast<std::size_t>(end_column - 1) - part.from, line.size());
        for (std::size_t i = start + 1; i < end; ++i) {
            text.append(static_cast<std::size_t>(shown_width(static_cast<unsigned char>(line[i]))), '~');
        }
    }
    return text + "\n";
}

// Messages are the program's own UTF-8, but a compiler's detail may quote
// input bytes: control bytes are escaped there too.
std::string without_controls(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F) {
            out += escaped(b);
        } else {
            out += c;
        }
    }
    return out;
}

// A compiler's fault; with a name, the strict check's diagnostic of the same
// fault, in the check's words.
std::string numbered_text(const Diagnostic& d) {
    std::string text = "error " + std::to_string(d.number) + ": ";
    if (!d.name.empty()) return text + without_controls(d.message) + " [" + d.name + "]";
    const std::string_view sentence = error_sentence(d.number);
    text += without_controls(sentence.empty() ? std::string_view(d.message) : sentence);
    if (!d.detail.empty()) text += ": " + without_controls(d.detail);
    if (d.cell) text += " (cell " + std::to_string(*d.cell) + ")";
    if (d.position) text += " (at " + std::to_string(*d.position) + " m)";
    return text;
}

std::string named_text(const Diagnostic& d) {
    std::string text = std::string(severity_word(d.severity)) + ": " + without_controls(d.message);
    if (!d.detail.empty()) text += ": " + without_controls(d.detail);
    if (!d.name.empty()) text += " [" + d.name + "]";
    return text;
}

}  // namespace

std::string_view severity_word(Severity severity) {
    switch (severity) {
        case Severity::kError:
            return "error";
        case Severity::kWarning:
            return "warning";
        case Severity::kNote:
            return "note";
    }
    return "error";
}

std::string_view text_line(std::string_view text, int line) {
    std::size_t begin = 0;
    for (int current = 1; current < line; ++current) {
        while (begin < text.size() && !is_line_end(text[begin])) ++begin;
        if (begin >= text.size()) return {};
        if (text[begin] == '\r' && begin + 1 < text.size() && text[begin + 1] == '\n') ++begin;
        ++begin;
    }
    std::size_t end = begin;
    while (end < text.size() && !is_line_end(text[end])) ++end;
    return text.substr(begin, end - begin);
}

std::string printable(std::string_view windows_1252) {
    std::string out;
    out.reserve(windows_1252.size());
    for (const char c : windows_1252) {
        const auto b = static_cast<unsigned char>(c);
        if (shown_escaped(b)) {
            out += escaped(b);
        } else if (b < 0x80) {
            out += c;
        } else {
            out += from_windows_1252(std::string_view(&c, 1));
        }
    }
    return out;
}

std::string format_diagnostic(const Diagnostic& d, const DiagnosticSources& sources) {
    std::string text;
    const bool numbered = d.number != 0;
    if (d.where) {
        const bool line_file = d.where->file == SourceFile::kLine;
        text += line_file ? sources.line_file : sources.train_file;
        if (d.where->line > 0) text += ":" + std::to_string(d.where->line) + ":" + std::to_string(d.where->column);
        text += ": ";
    }
    text += numbered ? numbered_text(d) : named_text(d);
    text += "\n";
    if (d.where && d.where->line > 0) {
        const std::string_view source = d.where->file == SourceFile::kLine ? sources.line_text : sources.train_text;
        const bool underlined = !numbered || !d.name.empty();
        text += source_and_caret(text_line(source, d.where->line), d.where->column, d.where->end_column, underlined);
    }
    return text;
}

}  // namespace scenariogen
