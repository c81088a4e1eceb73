// What drawing costs: the page of the largest route, from its records as a
// compilation holds them (a live preview), and from its three files' bytes
// already in memory (the plot command without its reading and writing).
#include <benchmark/benchmark.h>

#include <string>

#include "bench/largest_route.h"
#include "compiler/compile.h"
#include "format/binary_writer.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen {
namespace {

// The largest route compiled once, in memory.
const CompileResult& largest_compiled() {
    static const CompileResult compiled = [] {
        const std::string line = largest_line_description();
        const std::string train = largest_train_description();
        return compile(CompileInput{line, train, "Grande", "1", true});
    }();
    return compiled;
}

void PlotLargestRoute(benchmark::State& state) {
    const CompileResult& s = largest_compiled();
    for (auto _ : state) benchmark::DoNotOptimize(plot_scenario(s.cells, s.stations, s.grid).svg.size());
}
BENCHMARK(PlotLargestRoute)->Unit(benchmark::kMillisecond);

void PlotLargestRouteBytes(benchmark::State& state) {
    const CompileResult& s = largest_compiled();
    const std::string cells = encode_cells(s.cells);
    const std::string table = encode_station_table(s.stations);
    const std::string grid = encode_grid(s.grid);
    for (auto _ : state) benchmark::DoNotOptimize(plot_scenario(cells, table, grid).svg.size());
}
BENCHMARK(PlotLargestRouteBytes)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenariogen
