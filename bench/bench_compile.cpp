// What the program costs: the fixed generation run, the compilation of the
// largest route, and as the floor, writing the largest route's bytes with
// plain buffered writes into the same kind of folder.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "bench/largest_route.h"
#include "cli/compiled_files.h"
#include "cli/generation_run.h"
#include "compiler/compile.h"
#include "format/binary_writer.h"

namespace scenariogen {
namespace {

struct Folder {
    Folder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "scenariogen-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        path = pattern;
    }
    ~Folder() { std::filesystem::remove_all(path); }
    std::filesystem::path path;
};

struct LargestRoute {
    std::string line = largest_line_description();
    std::string train = largest_train_description();
};

const LargestRoute& largest() {
    static const LargestRoute route;
    return route;
}

// The records and the plan, as compile computes them: the grid's
// coordinates are left to the writing of its file.
CompileResult compile_largest_in_memory(bool coordinates = false) {
    CompileInput input{largest().line, largest().train, "Grande", "1", true};
    input.grid_coordinates = coordinates;
    return compile(input);
}

CompileResult compile_largest(const ScenarioFiles& targets) {
    CompileResult result = compile_largest_in_memory();
    write_compiled_files(result, true, targets);
    return result;
}

std::int64_t output_bytes(const ScenarioFiles& files) {
    return static_cast<std::int64_t>(std::filesystem::file_size(files.grid()) +
                                     std::filesystem::file_size(files.station_table()) +
                                     std::filesystem::file_size(files.cells()));
}

void FixedRun(benchmark::State& state) {
    Folder folder;
    std::ostringstream status;
    for (auto _ : state) {
        if (run_generation(folder.path.string(), status) != 0) state.SkipWithError("the run failed");
    }
    std::uintmax_t bytes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder.path)) bytes += entry.file_size();
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes) * state.iterations());
}
BENCHMARK(FixedRun)->Unit(benchmark::kMillisecond);

void CompileLargestRoute(benchmark::State& state) {
    Folder folder;
    const ScenarioFiles files{folder.path.string(), "Grande", "1"};
    for (auto _ : state) benchmark::DoNotOptimize(compile_largest(files).last_error);
    state.SetBytesProcessed(output_bytes(files) * state.iterations());
}
BENCHMARK(CompileLargestRoute)->Unit(benchmark::kMillisecond);

// The reading and the placement rules alone, without the writing.
void ReadLargestRoute(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(compile_largest_in_memory().last_error);
}
BENCHMARK(ReadLargestRoute)->Unit(benchmark::kMillisecond);

// The floor: the same three files' bytes, already in memory, written with
// plain buffered writes.
void FloorLargestRoute(benchmark::State& state) {
    Folder folder;
    const ScenarioFiles files{folder.path.string(), "Grande", "1"};
    const CompileResult s = compile_largest_in_memory(true);
    const std::string grid = encode_grid(s.grid);
    const std::string table = encode_station_table(s.stations);
    const std::string cells = encode_cells(s.cells);
    for (auto _ : state) {
        for (const auto& [path, bytes] : {std::pair{files.grid(), &grid}, std::pair{files.station_table(), &table},
                                          std::pair{files.cells(), &cells}}) {
            std::FILE* f = std::fopen(path.c_str(), "wb");
            std::fwrite(bytes->data(), 1, bytes->size(), f);
            std::fclose(f);
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(grid.size() + table.size() + cells.size()) * state.iterations());
}
BENCHMARK(FloorLargestRoute)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenariogen

BENCHMARK_MAIN();
