#include "cli/generation_run.h"

#include <ostream>

#include "cli/command.h"
#include "cli/compilation_report.h"
#include "cli/compiled_files.h"
#include "compiler/compile.h"
#include "compiler/error_numbers.h"
#include "content/description_files.h"
#include "content/documents.h"
#include "content/fixed_scenario.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "platform/interruption.h"

namespace scenariogen {

namespace {

void write_text_files(const ScenarioFiles& files) {
    write_lines(files.line_description(), line_description_lines());
    write_lines(files.train_description(), train_description_lines());
    write_lines(files.notes(), notes_lines());
    write_lines(files.slowdown_order(), slowdown_order_lines());
    write_lines(files.train_card(), train_card_lines());
}

void remove_quietly(const std::string& path) {
    try {
        remove_file(path);
    } catch (const FileError&) {
        // The fault that matters is reported already; the file stays.
    }
}

// The line description's absence is error 101: nothing is read or deleted.
CompileResult missing_line_description() {
    CompileResult result;
    result.outcome = CompileOutcome::kNoCells;
    Diagnostic missing;
    missing.number = 101;
    missing.where = SourceRange{SourceFile::kLine, 0, 0, 0};
    result.faults.push_back(missing);
    result.last_error = 101;
    return result;
}

// The run's own description files, read back from disk and compiled.
CompileResult compile_read_descriptions(const ScenarioFiles& files, bool build_grid, FolderCompilation& folder) {
    CompileResult result;
    const DescriptionFile line = read_description_file(files.line_description());
    const DescriptionFile train = read_description_file(files.train_description());
    if (!line.text) {
        result.outcome = CompileOutcome::kNoCells;
        result.faults.push_back(unreadable_description(line));
        result.last_error = 25;
        result.reading_failed = true;
        return result;
    }
    folder.line_text = *line.text;
    if (train.text) folder.train_text = *train.text;
    CompileInput input{folder.line_text, std::nullopt, files.scenario_name, files.train_number, build_grid};
    input.grid_coordinates = false;  // computed as the grid file is written
    if (train.text) input.train_text = folder.train_text;
    return compile(input);
}

// The description files go once read: the line description always, the
// train description when its reading began or a reading failure ended both.
void remove_read_descriptions(const ScenarioFiles& files, const CompileResult& result) {
    remove_quietly(files.line_description());
    if (result.train_description_consumed()) remove_quietly(files.train_description());
}

int report(const CompileResult& result, const DiagnosticSources& sources, std::ostream& status) {
    if (result.outcome == CompileOutcome::kHeaderSlotsTaken) {
        status << kRunEndingPrompt << result.last_error << "\n";
        return kFaultRecorded;
    }
    for (const Diagnostic& fault : result.faults) status << format_diagnostic(fault, sources);
    if (result.outcome == CompileOutcome::kNoCells) {
        status << "scenariogen: the compilation recorded error " << result.last_error << " (position "
               << result.error_position << " m)\n";
        status << "scenariogen: the route has no cells; no binary file was written\n";
        return kFaultRecorded;
    }
    if (result.last_error == 0) return kSuccess;
    status << "scenariogen: the compilation recorded error " << result.last_error << " (position "
           << result.error_position << " m)\n";
    return kFaultRecorded;
}

// A name of the run that is taken by a folder is refused before anything
// is written.
bool outputs_can_be_written(const ScenarioFiles& files, std::ostream& status) {
    try {
        for (const std::string& path :
             {files.line_description(), files.train_description(), files.notes(), files.slowdown_order(),
              files.train_card(), files.grid(), files.station_table(), files.cells()}) {
            refuse_folder_as_output(path);
        }
    } catch (const FileError& failure) {
        status << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
        return false;
    }
    return true;
}

}  // namespace

FolderCompilation compile_scenario_folder(const ScenarioFiles& files, bool build_grid) {
    FolderCompilation folder;
    if (!file_exists(files.line_description())) {
        folder.result = missing_line_description();
        return folder;
    }
    folder.result = compile_read_descriptions(files, build_grid, folder);
    remove_read_descriptions(files, folder.result);
    const CompileResult& result = folder.result;
    if (result.outcome == CompileOutcome::kCompiled) {
        write_compiled_files(result, build_grid, files);
    }
    return folder;
}

int run_generation(const std::string& folder, std::ostream& status) {
    const ScenarioFiles files{folder, kScenarioName, kTrainNumber};
    status << "Attendere" << std::endl;
    if (!outputs_can_be_written(files, status)) return kOutputFailed;
    try {
        // The intermediate files go with an interrupted run.
        const RemovedOnInterruption line_description(files.line_description());
        const RemovedOnInterruption train_description(files.train_description());
        write_text_files(files);
        const FolderCompilation compiled = compile_scenario_folder(files, true);
        const DiagnosticSources sources{files.line_description(), files.train_description(), compiled.line_text,
                                        compiled.train_text};
        return report(compiled.result, sources, status);
    } catch (const FileError& failure) {
        // The run's intermediate files go with it; the outputs keep their earlier content.
        remove_quietly(files.line_description());
        remove_quietly(files.train_description());
        status << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
}

}  // namespace scenariogen
