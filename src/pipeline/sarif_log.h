// Diagnostics for code-scanning services: a SARIF 2.1.0 log with one run of
// scenariogen, a rule for every code that occurs (its help the text of
// `scenariogen explain`), and a result for every diagnostic, its notes as
// related locations.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "compiler/diagnostic.h"
#include "pipeline/diagnostics_json.h"

namespace scenariogen {

nlohmann::json sarif_log(const Diagnostics& diagnostics, const DiagnosticFileNames& files, std::string_view version);

// A path as a URI reference: relative paths stay relative (with "/"),
// absolute ones become file:/// URIs; bytes outside the unreserved set are
// percent-encoded.
std::string path_uri(std::string_view path);

}  // namespace scenariogen
