// The decoders, the dump of every kind of binary file and the picture of a
// scenario, on any bytes. For the picture the input is cut in three: the
// first two bytes give the cell file's length in cells, the next two the
// station table's length in bytes, the rest is the grid.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "format/binary_reader.h"
#include "views/dump/scenario_dump.h"
#include "views/plot/scenario_plot.h"

namespace {

void plot(std::string_view bytes) {
    if (bytes.size() < 4) return;
    const auto length = [&](std::size_t at) {
        return static_cast<std::size_t>(static_cast<unsigned char>(bytes[at])) |
               static_cast<std::size_t>(static_cast<unsigned char>(bytes[at + 1])) << 8;
    };
    std::size_t cells = length(0) * 16;
    std::size_t table = length(2);
    std::string_view rest = bytes.substr(4);
    cells = std::min(cells, rest.size());
    table = std::min(table, rest.size() - cells);
    try {
        scenariogen::plot_scenario(rest.substr(0, cells), rest.substr(cells, table), rest.substr(cells + table));
    } catch (const scenariogen::DecodeError&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    using scenariogen::FileKind;
    for (const FileKind kind : {FileKind::kCells, FileKind::kStationTable, FileKind::kGrid}) {
        try {
            scenariogen::dump_table(kind, bytes, {false, 7});
            scenariogen::dump_json(kind, bytes, {true, 1}).dump();
        } catch (const scenariogen::DecodeError&) {
        }
    }
    try {
        scenariogen::detect_kind("file.bin", bytes);
    } catch (const scenariogen::DecodeError&) {
    }
    plot(bytes);
    return 0;
}
