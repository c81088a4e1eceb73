// The whole compilation from a line description and a train description:
// the input holds both, split at the first NUL byte. Every fault of the
// description is data; anything thrown is a fault of the compiler itself.
// The timetable check then runs on the records.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compiler/compile.h"
#include "compiler/diagnostic_format.h"
#include "format/binary_writer.h"
#include "timetable/timetable_check.h"
#include "timetable/train_model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string_view line = input.substr(0, split);
    const std::string_view train = split == std::string_view::npos ? std::string_view() : input.substr(split + 1);
    const scenariogen::CompileResult result = scenariogen::compile({line, train, "Fuzz", "1", true});
    const scenariogen::DiagnosticSources sources{"l", "t", line, train};
    for (const scenariogen::Diagnostic& fault : result.faults) scenariogen::format_diagnostic(fault, sources);
    if (result.outcome == scenariogen::CompileOutcome::kCompiled) {
        scenariogen::encode_cells(result.cells);
        scenariogen::encode_station_table(result.stations);
        // The running-time model takes whatever records a compilation leaves,
        // faults or not.
        const scenariogen::TrainModel model =
            scenariogen::train_model({}, result.stations[scenariogen::kTrainEntry].start);
        scenariogen::check_timetable(result.cells, result.stations, model);
    }
    return 0;
}
