// The strict check from a line description and a train description: the
// input holds both, split at the first NUL byte. Whatever the bytes, the
// check ends with diagnostics that render; and what it passes without an
// error, the compiler reads without a fault (but those of the placement
// rules, which the check does not foresee).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "compiler/compile.h"
#include "compiler/diagnostic_format.h"
#include "lint/check.h"

namespace {

bool placement_fault(std::int32_t number) {
    return number == 11 || number == 12 || number == 13 || number == 1250 || number == 1251;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace scenariogen;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view line = input.substr(0, split);
    const std::string_view train = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const PreparedDescriptions prepared = prepare_descriptions(line, train);
    const DiagnosticSources sources{"l", "t", prepared.line_text, prepared.train_text};
    for (const Diagnostic& d : prepared.diagnostics) format_diagnostic(d, sources);
    if (prepared.refused) return 0;
    bool errors = false;
    for (const Diagnostic& d : check_descriptions(prepared.line_text, prepared.train_text)) {
        format_diagnostic(d, sources);
        errors = errors || d.severity == Severity::kError;
    }
    if (errors) return 0;
    const CompileResult result =
        compile({prepared.line_text, std::string_view(prepared.train_text), "Fuzz", "1", false});
    for (const Diagnostic& fault : result.faults) {
        if (!placement_fault(fault.number)) std::abort();  // the check passed what the compiler refuses
    }
    return 0;
}
