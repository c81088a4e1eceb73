// The whole compilation from a line description and a train description:
// the input holds both, split at the first NUL byte.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "compiler/memorizza_percorso.h"
#include "format/binary_writer.h"

namespace {

const std::string& folder() {
    static const std::string path = [] {
        std::string pattern = "/tmp/scenariogen-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        return pattern;
    }();
    return path;
}

void write(const std::string& path, std::string_view bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find('\0');
    const std::string line_path = folder() + "/linea.txt";
    const std::string train_path = folder() + "/treno.txt";
    write(line_path, input.substr(0, split));
    write(train_path, split == std::string_view::npos ? std::string_view() : input.substr(split + 1));

    scenariogen::Scenario s;
    s.scenario_name = "Fuzz";
    s.train_number = "1";
    std::int32_t j = 1;
    try {
        const auto esito = scenariogen::compila(s, j, scenariogen::DescriptionSources{line_path, train_path, false});
        if (esito == scenariogen::Esito::kScritto) {
            scenariogen::encode_cells(s.cells);
            scenariogen::encode_station_table(s.stations);
        }
    } catch (const scenariogen::RunEnded&) {
    }
    return 0;
}
