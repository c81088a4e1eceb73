// Positions and ranges as the protocol writes them in JSON.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "lsp/document_text.h"

namespace scenariogen::lsp {

inline nlohmann::json position_json(int line, int character) { return {{"line", line}, {"character", character}}; }

inline nlohmann::json range_json(int line, int begin, int end) {
    return {{"start", position_json(line, begin)}, {"end", position_json(line, end)}};
}

inline nlohmann::json range_json(TextPosition begin, TextPosition end) {
    return {{"start", position_json(begin.line, begin.character)}, {"end", position_json(end.line, end.character)}};
}

// A range of one line of a document given in characters (as the reader
// counts columns, 0-based), in the protocol's UTF-16 units.
inline nlohmann::json character_range_json(const DocumentText& text, int line, int begin, int end) {
    return range_json(line, text.utf16_column(line, begin), text.utf16_column(line, end));
}

// A position sent by the client. Throws nlohmann::json::exception when it
// is not one (the caller answers with invalid params).
inline TextPosition position_from(const nlohmann::json& position) {
    return {position.at("line").get<int>(), position.at("character").get<int>()};
}

inline TextRange range_from(const nlohmann::json& range) {
    return {position_from(range.at("start")), position_from(range.at("end"))};
}

// Route metres as the railway writes kilometres: 14100 as "km 14+100".
inline std::string kilometre_text(long long metres) {
    const unsigned long long size =
        metres < 0 ? 0ULL - static_cast<unsigned long long>(metres) : static_cast<unsigned long long>(metres);
    const std::string rest = std::to_string(size % 1000);
    return std::string("km ") + (metres < 0 ? "-" : "") + std::to_string(size / 1000) + "+" +
           std::string(3 - rest.size(), '0') + rest;
}

}  // namespace scenariogen::lsp
