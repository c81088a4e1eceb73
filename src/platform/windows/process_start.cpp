#include "platform/process_start.h"

// <windows.h> first: the headers of the other system libraries build on it.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <shellapi.h>

#include <cstdio>

#include "platform/windows/wide_text.h"

namespace scenariogen {

std::vector<std::string> command_line_arguments(int argc, char** argv) {
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (wide == nullptr) return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(windows::narrow(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

void prepare_standard_streams() {
    ::SetConsoleOutputCP(CP_UTF8);
    // Bytes as they are on both streams: the same output as on other systems, and a console shows "\n" as a line end.
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
}

}  // namespace scenariogen
