// What drawing costs: the page of the largest route, from its records as a
// compilation holds them (a live preview), and from its three files' bytes
// already in memory (the plot command without its reading and writing); and
// the train's fastest run over it, which the page draws.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/largest_route.h"
#include "compiler/compile.h"
#include "format/binary_writer.h"
#include "timetable/timetable_check.h"
#include "timetable/train_model.h"
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

// The model's fastest run over the 1000 km and its check of the timetable,
// solved stretch by stretch in closed form.
void FastestRunLargestRoute(benchmark::State& state) {
    const CompileResult& s = largest_compiled();
    const TrainModel model = train_model({}, s.stations[kTrainEntry].start);
    for (auto _ : state) benchmark::DoNotOptimize(check_timetable(s.cells, s.stations, model).run.size());
}
BENCHMARK(FastestRunLargestRoute)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenariogen
