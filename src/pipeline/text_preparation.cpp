#include "pipeline/text_preparation.h"

#include <cstdio>

#include "text/description_encoding.h"

namespace scenariogen {

namespace {

std::string utf8(char32_t cp) {
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
}

// "'Ω' (U+03A9)"; a control character only by its number.
std::string character_name(char32_t cp) {
    char number[16];
    std::snprintf(number, sizeof number, "U+%04X", static_cast<unsigned>(cp));
    const bool control = cp < 0x20 || (cp >= 0x7F && cp < 0xA0) || cp == 0x2028 || cp == 0x2029;
    return control ? std::string(number) : "'" + utf8(cp) + "' (" + number + ")";
}

Diagnostic file_diagnostic(Severity severity, SourceFile file, std::string name, std::string message) {
    Diagnostic d;
    d.severity = severity;
    d.name = std::move(name);
    d.message = std::move(message);
    d.where = SourceRange{file, 0, 0, 0};
    return d;
}

void encoding_diagnostics(const DecodedDescription& decoded, SourceFile file, TextSource source, Diagnostics& out) {
    const std::string found(encoding_name(decoded.found));
    if (!decoded.refused()) {
        if (decoded.found != TextEncoding::kWindows1252 && source == TextSource::kFiles) {
            out.push_back(file_diagnostic(
                Severity::kNote, file, "",
                "the file is " + found + "; it was read as Windows-1252, the encoding of description files"));
        }
        return;
    }
    for (const EncodingProblem& problem : decoded.refusals) {
        if (problem.line == 0) {
            out.push_back(file_diagnostic(Severity::kError, file, "encoding",
                                          "the file is " + found +
                                              ": description files are Windows-1252 (or UTF-8); save it again in one "
                                              "of those"));
            continue;
        }
        Diagnostic d;
        d.name = "encoding";
        d.where = SourceRange{file, problem.line, problem.column, problem.column + 1};
        if (problem.malformed) {
            char byte[8];
            std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned>(problem.character));
            d.message = std::string("the byte ") + byte +
                        " is no part of a UTF-8 character, although the file begins "
                        "with the UTF-8 byte-order mark";
        } else {
            d.message = "the character " + character_name(problem.character) +
                        " has no Windows-1252 form: description files are Windows-1252, and this one is " + found;
        }
        out.push_back(std::move(d));
    }
}

}  // namespace

PreparedText prepare_text(std::string_view raw, SourceFile file, TextSource source) {
    DecodedDescription decoded = decode_description(raw);
    PreparedText prepared;
    encoding_diagnostics(decoded, file, source, prepared.diagnostics);
    prepared.refused = decoded.refused();
    prepared.windows_1252 = std::move(decoded.windows_1252);
    return prepared;
}

}  // namespace scenariogen
