// File paths with * and ? in the file name, each use picking one matching file at random.
#pragma once

#include <chrono>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace halvika {

class WildcardPath {
public:
    /// How long an alarm waits for a folder to be listed; one that takes longer has no match.
    static constexpr std::chrono::milliseconds listLimit{250};

    static bool hasWildcards(std::string_view path);
    /// The folder part (up to and including the last "/" or "\") followed by each matching file's name, in
    /// the order the file system lists them. Only the file name may hold wildcards; folders never match.
    static std::vector<std::string> matches(const std::string& path);
    /// One of the matches chosen uniformly; the path as given when it has no wildcards or nothing matches.
    static std::string choose(const std::string& path, std::mt19937& random);
};

} // namespace halvika
