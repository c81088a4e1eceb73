#include "format/binary_files.h"

#include "format/binary_writer.h"
#include "platform/file_system.h"

namespace scenariogen {

void write_binary_files(const std::vector<Cell>& cells, const StationTable& stations, const GridContent* grid,
                        const ScenarioFiles& targets) {
    StagedFiles files;
    if (grid) {
        files.stage(targets.grid(), grid_file_size(*grid), [&](PositionedOutput& out) { write_grid(*grid, out); });
    }
    files.stage(targets.station_table(), [&](ByteOutput& out) { write_station_table(stations, out); });
    files.stage(targets.cells(), [&](ByteOutput& out) { write_cells(cells, out); });
    files.commit();
}

void write_binary_files(const std::vector<Cell>& cells, const StationTable& stations, const Grid* grid,
                        const ScenarioFiles& targets) {
    if (!grid) return write_binary_files(cells, stations, static_cast<const GridContent*>(nullptr), targets);
    StoredCoordinates coordinates(*grid);
    const GridContent content{grid->last_metre, grid->computed_metres, &coordinates};
    write_binary_files(cells, stations, &content, targets);
}

}  // namespace scenariogen
