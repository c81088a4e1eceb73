// The language features the server answers, each a function of an open
// document (and, where the answer needs what the text becomes, of its
// compilation). Each returns the result member of its response.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/client_capabilities.h"
#include "lsp/document_text.h"
#include "lsp/workspace.h"

namespace scenariogen::lsp {

// textDocument/hover: on a keyword, the meaning of its line and fields; on
// a positioned line, what it becomes: km, cells, what is in force there and
// what its cells hold after the placement rules. Null where nothing is.
nlohmann::json hover(const OpenDocument& document, TextPosition at, const CompileUnit* unit);

// textDocument/documentSymbol: the sections, with the stations, signals and
// slowdowns in them.
nlohmann::json document_symbols(const OpenDocument& document);

// textDocument/foldingRange: one range per section.
nlohmann::json folding_ranges(const OpenDocument& document);

// textDocument/completion: the keywords understood where the cursor stands,
// each with a snippet of its fields where the client expands snippets, and
// the section headers.
nlohmann::json completion(const OpenDocument& document, TextPosition at, const ClientCapabilities& client);

// textDocument/formatting: the fields of each section aligned into columns
// by the blanks after each comma; no value changes.
nlohmann::json formatting(const OpenDocument& document);

// textDocument/rangeFormatting: the edits of formatting on the lines of
// `range`, the columns still set by the whole of each section.
nlohmann::json range_formatting(const OpenDocument& document, TextRange range);

// workspace/symbol: the symbols of a document whose name holds `query` in
// any case, as SymbolInformation, appended to `out`.
void symbol_information(const OpenDocument& document, const std::string& query, nlohmann::json& out);

// textDocument/semanticTokens: each field of the lines first_line to
// last_line by what the reader does with it; the legend they refer to.
nlohmann::json semantic_tokens(const OpenDocument& document, int first_line, int last_line);
nlohmann::json semantic_token_legend();

// textDocument/signatureHelp: on a keyword line, its values with their
// units, the one under the cursor active; null elsewhere.
nlohmann::json signature_help(const OpenDocument& document, TextPosition at, const ClientCapabilities& client);

// textDocument/inlayHint: the km of each positioned line within the lines
// given.
nlohmann::json inlay_hints(const OpenDocument& document, int first_line, int last_line);

}  // namespace scenariogen::lsp
