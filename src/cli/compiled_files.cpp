#include "cli/compiled_files.h"

#include "format/binary_files.h"

namespace scenariogen {

void write_compiled_files(const CompileResult& result, bool with_grid, const ScenarioFiles& targets) {
    const Grid& grid = result.grid;
    if (!with_grid) {
        write_binary_files(result.cells, result.stations, static_cast<const GridContent*>(nullptr), targets);
    } else if (!grid.x.empty()) {
        write_binary_files(result.cells, result.stations, &grid, targets);
    } else {
        PlanCoordinates coordinates(result.plan_stretches);
        const GridContent content{grid.last_metre, grid.computed_metres, &coordinates};
        write_binary_files(result.cells, result.stations, &content, targets);
    }
}

}  // namespace scenariogen
