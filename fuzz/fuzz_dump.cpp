// The decoders and the dump of every kind of binary file, on any bytes.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "compiler/binary_reader.h"
#include "inspect/scenario_dump.h"

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
    return 0;
}
