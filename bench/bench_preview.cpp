// The parts of the preview's work after a save of the largest route: the
// compilation from its two files, the drawing, and the page's document.
// bench/preview_latency.py measures the whole, from the save to the page.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bench/largest_route.h"
#include "preview/preview_compilation.h"
#include "preview/preview_state.h"

namespace scenariogen {
namespace {

struct LargestRouteFiles {
    LargestRouteFiles() {
        std::string pattern = (std::filesystem::temp_directory_path() / "scenariogen-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        folder = pattern;
        std::ofstream(folder / "grande_linea.txt", std::ios::binary) << largest_line_description();
        std::ofstream(folder / "grande_treno.txt", std::ios::binary) << largest_train_description();
    }
    ~LargestRouteFiles() { std::filesystem::remove_all(folder); }
    PreviewSources sources() const {
        return {(folder / "grande_linea.txt").string(), (folder / "grande_treno.txt").string(), "Grande", "1"};
    }
    std::filesystem::path folder;
};

void PreviewCompileLargest(benchmark::State& state) {
    const LargestRouteFiles files;
    for (auto _ : state) benchmark::DoNotOptimize(compile_for_preview(files.sources()).faults.size());
}
BENCHMARK(PreviewCompileLargest)->Unit(benchmark::kMillisecond);

void PreviewDrawLargest(benchmark::State& state) {
    const LargestRouteFiles files;
    const PreviewCompilation compilation = compile_for_preview(files.sources());
    for (auto _ : state) benchmark::DoNotOptimize(draw_for_preview(compilation).plot.svg.size());
}
BENCHMARK(PreviewDrawLargest)->Unit(benchmark::kMillisecond);

void PreviewDocumentLargest(benchmark::State& state) {
    const LargestRouteFiles files;
    const PreviewCompilation compilation = compile_for_preview(files.sources());
    const PreviewDrawing drawing = draw_for_preview(compilation);
    PreviewState shown;
    shown.generation = 1;
    shown.line_file = "grande_linea.txt";
    shown.train_file = "grande_treno.txt";
    shown.compilation = &compilation;
    shown.drawing = &drawing;
    for (auto _ : state) benchmark::DoNotOptimize(state_json(shown));
}
BENCHMARK(PreviewDocumentLargest)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenariogen
