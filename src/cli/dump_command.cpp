#include <ostream>

#include "cli/commands.h"
#include "cli/generation_run.h"
#include "format/binary_reader.h"
#include "platform/file_system.h"

namespace scenariogen {

int run_dump(const DumpCommandOptions& options, std::ostream& out, std::ostream& err) {
    std::string bytes;
    try {
        bytes = read_file(options.file);
    } catch (const FileError& failure) {
        err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n";
        return kUsage;
    }
    try {
        const FileKind kind = options.kind ? *options.kind : detect_kind(options.file, bytes);
        if (options.json) {
            out << dump_json(kind, bytes, options.dump).dump(2) << "\n";
        } else {
            out << dump_table(kind, bytes, options.dump);
        }
    } catch (const DecodeError& error) {
        err << "scenariogen: " << options.file << ": " << error.what() << "\n";
        return kFaultRecorded;
    }
    return kSuccess;
}

}  // namespace scenariogen
