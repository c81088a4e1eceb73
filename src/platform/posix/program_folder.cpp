#include "platform/program_folder.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <vector>

#include "platform/file_system.h"

namespace scenariogen {

std::string program_folder() {
    std::vector<char> buffer(4096);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) throw FileError("/proc/self/exe", std::strerror(errno));
        if (static_cast<std::size_t>(length) < buffer.size()) {
            const std::string path(buffer.data(), static_cast<std::size_t>(length));
            const auto slash = path.rfind('/');
            return slash == 0 ? "/" : path.substr(0, slash);
        }
        buffer.resize(buffer.size() * 2);
    }
}

void require_folder(const std::string& folder) {
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0) throw FileError(folder, std::strerror(errno));
    if (!S_ISDIR(info.st_mode)) throw FileError(folder, "not a folder");
}

}  // namespace scenariogen
