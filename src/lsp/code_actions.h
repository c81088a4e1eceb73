// textDocument/codeAction: the quick fix of each diagnostic on the lines
// asked for that has one obvious fix (marked preferred where it is safe),
// the fix of every diagnostic of that kind in the file, and, where the
// client asks for source.fixAll, every safe fix of the file.
#pragma once

#include <nlohmann/json.hpp>

#include "lsp/workspace.h"

namespace scenariogen::lsp {

nlohmann::json code_actions(const OpenDocument& document, const nlohmann::json& params, Workspace& workspace);

}  // namespace scenariogen::lsp
