// The core stays free of Qt: linking alone would not keep it so.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>

namespace {

TEST(Layering, CoreIncludesNoQt) {
    const std::filesystem::path core = std::filesystem::path(HALVIKA_SOURCE_DIR) / "src" / "core";
    ASSERT_TRUE(std::filesystem::is_directory(core));
    const std::regex qtInclude(R"(^\s*#\s*include\s*[<"]Q[A-Za-z])");
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(core)) {
        if (!entry.is_regular_file()) {
            continue;
        }
        ++files;
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            EXPECT_FALSE(std::regex_search(line, qtInclude)) << entry.path() << ":" << number << ": " << line;
        }
    }
    EXPECT_GT(files, 10);
}

} // namespace
