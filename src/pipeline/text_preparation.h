// The two texts made ready for the check and the compilation: a description
// in Windows-1252 is taken as it is; a UTF-8 one whose characters all have a
// Windows-1252 form is transcoded (with a note, for a file); any other text
// is refused, with an error at each character that stands in the way.
#pragma once

#include <string>
#include <string_view>

#include "compiler/diagnostic.h"

namespace scenariogen {

// Where the texts come from: files as an author saved them, or an editor's
// buffers, which are UTF-8 whatever the file they will be saved to.
enum class TextSource { kFiles, kEditor };

struct PreparedText {
    std::string windows_1252;  // for a refused text, as far as it could be made out
    Diagnostics diagnostics;
    bool refused = false;  // the text cannot be read: neither check nor compile it
};

[[nodiscard]] PreparedText prepare_text(std::string_view raw, SourceFile file, TextSource source);

}  // namespace scenariogen
