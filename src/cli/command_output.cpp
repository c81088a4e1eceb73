#include "cli/command_output.h"

#include <ostream>

#include "platform/file_system.h"

namespace scenariogen {

int write_command_output(const std::string& output, const std::string& bytes, Console& console) {
    if (output == "-") {
        console.out << bytes << std::flush;
        if (console.out) return kSuccess;
        console.err << "scenariogen: cannot write the standard output\n";
        return kOutputFailed;
    }
    try {
        replace_file(output, bytes);
    } catch (const FileError& failure) {
        console.err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
        return kOutputFailed;
    }
    return kSuccess;
}

}  // namespace scenariogen
