// The pipeline's diagnostics as the protocol's, each at its range in the
// document it belongs to.
#pragma once

#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "compiler/diagnostic.h"

namespace scenariogen::lsp {

struct OpenDocument;

// The two texts a compilation read and the URIs their diagnostics go to.
// A text without a document is a file on disk; a missing text (no train
// description) has no URI.
struct CompiledTexts {
    const OpenDocument* line = nullptr;
    const OpenDocument* train = nullptr;
    std::string line_uri;
    std::string train_uri;
};

// The diagnostics of every URI of the compilation, empty lists included, so
// that publishing them clears what a fault fixed. Notes become related
// information of the diagnostic before them.
std::map<std::string, nlohmann::json> compile_diagnostics(const Diagnostics& found, const CompiledTexts& texts);

// A partner file that cannot be read, named in `message`, at the first line
// of the document compiled without it.
nlohmann::json partner_diagnostic(const std::string& message);

// A document that is not compiled, with the reason, at its first line.
nlohmann::json not_compiled_diagnostic(const std::string& reason);

}  // namespace scenariogen::lsp
