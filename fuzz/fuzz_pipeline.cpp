// The pipeline from a line description and a train description: the input
// holds both, split at the first NUL byte. Whatever the bytes, the pipeline
// ends with diagnostics that render; every fault the compiler records is
// carried by exactly one diagnostic at its place; and what the strict check
// passes without an error, the compiler reads without a fault (but those of
// the placement rules, which the check does not foresee).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "compiler/diagnostic_format.h"
#include "pipeline/pipeline.h"

namespace {

using namespace scenariogen;

bool placement_fault(std::int32_t number) {
    return number == 11 || number == 12 || number == 13 || number == 1250 || number == 1251;
}

bool carries(const Diagnostic& d, const Diagnostic& fault) {
    if (d.severity != Severity::kError || d.number != fault.number) return false;
    if (!fault.where) return !d.where;
    return d.where && d.where->file == fault.where->file &&
           (d.where->line == fault.where->line || d.where->line == 0 || fault.where->line == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    PipelineInput pipeline;
    pipeline.line = input.substr(0, split);
    pipeline.train = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    pipeline.scenario_name = "Fuzz";
    pipeline.train_number = "1";
    pipeline.build_grid = false;
    const PipelineOutcome outcome = run_pipeline(pipeline);
    const DiagnosticSources sources{"l", "t", outcome.line_text, outcome.train_text};
    bool check_errors = false;
    for (const Diagnostic& d : outcome.diagnostics) {
        format_diagnostic(d, sources);
        check_errors = check_errors || (d.severity == Severity::kError && !d.name.empty());
    }
    if (!outcome.result) return 0;
    for (const Diagnostic& fault : outcome.result->faults) {
        if (fault.repeats_earlier) continue;
        std::size_t holders = 0;
        for (const Diagnostic& d : outcome.diagnostics) holders += carries(d, fault) ? 1u : 0u;
        if (holders == 0) std::abort();  // a fault the author is not shown
        if (!check_errors && !placement_fault(fault.number))
            std::abort();  // the check passed what the compiler refuses
    }
    return 0;
}
