// Navigation between the two descriptions of a pair: from an object to the
// objects of the other file that share its cells or clash with it, and
// between the places a station's name is written (its station line and the
// sign texts that name it). Each function returns the result member of its
// response.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "lsp/document_text.h"
#include "lsp/workspace.h"

namespace scenariogen::lsp {

struct PairView {
    const OpenDocument& document;
    const OpenDocument* partner = nullptr;  // none: the document has no partner that can be read
    const CompileUnit* unit = nullptr;      // none: not compiled
};

// textDocument/definition: on a station's name, its station line; on an
// object, the objects it clashes with and those of the other file in its
// cells.
nlohmann::json definition(const PairView& pair, TextPosition at);

// textDocument/references: on a station's name, every place it is written;
// on an object, the lines whose faults name it.
nlohmann::json references(const PairView& pair, TextPosition at, bool with_declaration);

// textDocument/documentHighlight: the same name, or the same object, in
// this document.
nlohmann::json document_highlight(const PairView& pair, TextPosition at);

// textDocument/prepareRename: the station's name under the cursor; null
// elsewhere.
nlohmann::json prepare_rename(const PairView& pair, TextPosition at);

// textDocument/rename: the station's name written anew in every place it is
// written. Throws std::invalid_argument for a name the reader would not
// read back as written, or where no station's name is.
nlohmann::json rename(const PairView& pair, TextPosition at, const std::string& new_name);

}  // namespace scenariogen::lsp
