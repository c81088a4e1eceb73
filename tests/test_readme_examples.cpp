// Every example of the README, reproduced from the files it names: each
// example block follows a comment that says how it is made,
//   <!-- example: in DIR run: ARGS; shows stderr -->   the program's output, run in DIR
//   <!-- example: the file PATH -->                    a file of the repository
// and the block must be exactly what that gives ({out} stands for a fresh folder).
#include <gtest/gtest.h>

#include <regex>

#include "test_support.h"

namespace scenariogen::testing {
namespace {

struct Example {
    std::string how;
    std::string shown;
};

std::vector<Example> readme_examples() {
    const std::string readme = slurp(std::string(SCENARIOGEN_SOURCE_DIR) + "/README.md");
    std::vector<Example> examples;
    const std::string open = "<!-- example: ";
    for (auto at = readme.find(open); at != std::string::npos; at = readme.find(open, at + 1)) {
        const auto end = readme.find(" -->\n", at);
        const auto fence = readme.find('\n', end + 5);
        const auto close = readme.find("\n```", fence);
        if (end == std::string::npos || fence == std::string::npos || close == std::string::npos) break;
        examples.push_back(
            {readme.substr(at + open.size(), end - at - open.size()), readme.substr(fence + 1, close - fence)});
    }
    return examples;
}

TEST(ReadmeExamples, EachIsWhatItsFilesGive) {
    SKIP_ON_WINDOWS("the examples are run through a POSIX shell");
    const std::vector<Example> examples = readme_examples();
    EXPECT_GE(examples.size(), 5u);
    const std::regex run("in (\\S+) run: (.*); shows (stdout|stderr)");
    const std::regex file("the file (\\S+)");
    for (const Example& example : examples) {
        SCOPED_TRACE(example.how);
        std::smatch m;
        if (std::regex_match(example.how, m, file)) {
            EXPECT_EQ(slurp(std::string(SCENARIOGEN_SOURCE_DIR) + "/" + m[1].str()), example.shown);
            continue;
        }
        ASSERT_TRUE(std::regex_match(example.how, m, run));
        TempDir out;
        std::string args = m[2].str();
        if (const auto at = args.find("{out}"); at != std::string::npos) args.replace(at, 5, out.path().string());
        const Outcome outcome = run_command(in_folder(std::filesystem::path(SCENARIOGEN_SOURCE_DIR) / m[1].str()) +
                                            SCENARIOGEN_EXECUTABLE + " " + args);
        EXPECT_EQ(m[3] == "stdout" ? outcome.out : outcome.err, example.shown);
    }
}

}  // namespace
}  // namespace scenariogen::testing
