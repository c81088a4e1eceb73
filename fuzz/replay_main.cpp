// Replays a fuzz target's corpus as an ordinary program: every file named on
// the command line, or every file in a folder named there, is one input.
// The tests run it over the committed corpora, in the normal and the
// sanitized builds.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {
void replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}
}  // namespace

int main(int argc, char** argv) {
    std::size_t inputs = 0;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path(argv[i]);
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path)) {
                if (entry.is_regular_file()) {
                    replay(entry.path());
                    ++inputs;
                }
            }
        } else {
            replay(path);
            ++inputs;
        }
    }
    std::cout << "replayed " << inputs << " inputs\n";
    return inputs == 0 ? 1 : 0;
}
