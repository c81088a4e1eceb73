// How the commands that compile report what the compilation found.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>

#include "compiler/compile.h"
#include "compiler/diagnostic_format.h"

namespace scenariogen {

// A description file read for compiling: its text, or the reason it could not be read.
struct DescriptionFile {
    std::string path;
    std::optional<std::string> text;
    std::string failure;  // why `text` is empty
};

// Reads a description file (at most 64 MiB).
DescriptionFile read_description_file(const std::string& path);

// A reading failure (error 25) for a description file that could not be read.
Diagnostic unreadable_description(const DescriptionFile& file);

// Every fault of the compilation in the compilers' form; for a run that
// errors 1250 or 1251 ended, the faults before it, then its prompt.
void report_faults(const CompileResult& result, const DiagnosticSources& sources, std::ostream& err);

}  // namespace scenariogen
