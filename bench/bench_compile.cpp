// The cost of compiling the scenario's own description files, from reading
// them to writing the three binary files.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "compiler/memorizza_percorso.h"
#include "description/description_files.h"

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

void write(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void CompileOwnScenario(benchmark::State& state) {
    Folder folder;
    const ScenarioFiles files{folder.path.string(), "Zervano-OdelmaVmod", "27340"};
    const std::string line = render_lines(righe_linea());
    const std::string train = render_lines(righe_treno());
    for (auto _ : state) {
        write(files.line_description(), line);
        write(files.train_description(), train);
        Scenario s;
        s.nome_scenario = files.nome_scenario;
        s.numero_treno = files.numero_treno;
        std::int32_t j = 1;
        const Esito esito =
            memorizza_percorso(s, j, DescriptionSources{files.line_description(), files.train_description(), true}, files);
        benchmark::DoNotOptimize(esito);
    }
}
BENCHMARK(CompileOwnScenario)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace scenariogen

BENCHMARK_MAIN();
