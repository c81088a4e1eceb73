// A compilation's faults as the protocol's diagnostics, each at the range of
// its field in the file it belongs to.
#pragma once

#include <cstddef>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "compiler/compile.h"
#include "views/lsp/document_text.h"

namespace scenariogen::lsp {

// The two texts a compilation read and the URIs their diagnostics go to.
// A missing text (no train description) has no URI.
struct CompiledTexts {
    const DocumentText* line = nullptr;
    const DocumentText* train = nullptr;
    std::string line_uri;
    std::string train_uri;
};

// The diagnostics of every URI of the compilation, empty lists included, so
// that publishing them clears what a fault fixed. Faults found after the
// reading (errors 11 to 13) stand at the line that placed the object in
// their cell.
// `found` holds the strict check's diagnostics and the compilation's faults;
// `result` tells where the objects went.
std::map<std::string, nlohmann::json> compile_diagnostics(const Diagnostics& found, const CompileResult& result,
                                                          const CompiledTexts& texts);

// A document larger than the compiler reads.
nlohmann::json too_large_diagnostic(std::size_t bytes, std::size_t limit);

// A partner file that cannot be read, named in `message`, at the first line
// of the document compiled without it.
nlohmann::json partner_diagnostic(const std::string& message);

// A document that is not compiled, with the reason, at its first line.
nlohmann::json not_compiled_diagnostic(const std::string& reason);

}  // namespace scenariogen::lsp
