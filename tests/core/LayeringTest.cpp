// The core stays free of Qt, and its modules point only down: the module table of docs/architecture.md is
// the include graph, checked here so that the two cannot drift apart.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::filesystem::path sourceDir = HALVIKA_SOURCE_DIR;
const std::filesystem::path core = sourceDir / "src" / "core";

template <typename Visit> void eachCoreLine(Visit visit) {
    for (const auto& entry : std::filesystem::recursive_directory_iterator(core)) {
        if (!entry.is_regular_file() || entry.path().filename() == "CMakeLists.txt") {
            continue;
        }
        const std::string module = std::filesystem::relative(entry.path(), core).begin()->string();
        std::ifstream in(entry.path());
        std::string line;
        for (int number = 1; std::getline(in, line); ++number) {
            visit(module, entry.path(), number, line);
        }
    }
}

struct ModuleRow {
    std::string name;
    std::set<std::string> uses;
};

/// The table's `core/...` rows in their order, each with the modules its last column names.
std::vector<ModuleRow> documentedModules() {
    std::ifstream in(sourceDir / "docs" / "architecture.md");
    const std::regex row(R"(^\| `core/([a-z]+)` \|.*\| ([^|]*) \|\s*$)");
    const std::regex moduleName(R"(`([a-z]+)`)");
    std::vector<ModuleRow> rows;
    std::string line;
    while (std::getline(in, line)) {
        std::smatch match;
        if (!std::regex_match(line, match, row)) {
            continue;
        }
        ModuleRow module{match[1], {}};
        const std::string uses = match[2];
        for (std::sregex_iterator it(uses.begin(), uses.end(), moduleName), end; it != end; ++it) {
            module.uses.insert((*it)[1]);
        }
        rows.push_back(std::move(module));
    }
    return rows;
}

TEST(Layering, CoreIncludesNoQt) {
    ASSERT_TRUE(std::filesystem::is_directory(core));
    const std::regex qtInclude(R"(^\s*#\s*include\s*[<"]Q[A-Za-z])");
    int lines = 0;
    eachCoreLine([&](const std::string&, const std::filesystem::path& file, int number, const std::string& line) {
        ++lines;
        EXPECT_FALSE(std::regex_search(line, qtInclude)) << file << ":" << number << ": " << line;
    });
    EXPECT_GT(lines, 1000);
}

TEST(Layering, ModulesIncludeExactlyWhatTheArchitectureTableAllowsAndPointOnlyDown) {
    const std::vector<ModuleRow> rows = documentedModules();
    std::map<std::string, std::set<std::string>> documented;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (const std::string& used : rows[i].uses) {
            bool above = false;
            for (std::size_t j = 0; j < i; ++j) {
                above = above || rows[j].name == used;
            }
            EXPECT_TRUE(above) << "core/" << rows[i].name << " may use " << used
                               << ", which is not a module listed above it";
        }
        documented[rows[i].name] = rows[i].uses;
    }

    std::set<std::string> directories;
    for (const auto& entry : std::filesystem::directory_iterator(core)) {
        if (entry.is_directory()) {
            directories.insert(entry.path().filename().string());
        }
    }
    for (const std::string& module : directories) {
        EXPECT_TRUE(documented.count(module)) << "core/" << module << " has no row in docs/architecture.md";
    }
    EXPECT_EQ(documented.size(), directories.size());

    const std::regex include(R"(^\s*#\s*include\s*"([a-z]+)/)");
    std::map<std::string, std::set<std::string>> included;
    eachCoreLine(
        [&](const std::string& module, const std::filesystem::path& file, int number, const std::string& line) {
            std::smatch match;
            if (!std::regex_search(line, match, include) || match[1] == module || !directories.count(match[1])) {
                return;
            }
            included[module].insert(match[1]);
            EXPECT_TRUE(documented[module].count(match[1]))
                << file << ":" << number << ": core/" << module << " may not use " << match[1];
        });
    // A row naming a module that is not used any more would let a new include in unnoticed.
    for (const auto& [module, uses] : documented) {
        for (const std::string& used : uses) {
            EXPECT_TRUE(included[module].count(used))
                << "core/" << module << " is said to use " << used << " but includes nothing from it";
        }
    }
}

} // namespace
