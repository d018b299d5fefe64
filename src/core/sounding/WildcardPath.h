// File paths with * and ? in the file name, each use picking one matching file at random.
#pragma once

#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace halvika {

class WildcardPath {
public:
    static bool hasWildcards(std::string_view path);
    /// The folder part (up to and including the last "/" or "\") followed by each matching file's name, in
    /// the order the file system lists them. Only the file name may hold wildcards; folders never match. A
    /// folder that is not listed within DiskProbe::alarmLimit has no match.
    static std::vector<std::string> matches(const std::string& path);
    /// One of the matches chosen uniformly; the path as given when it has no wildcards or nothing matches.
    static std::string choose(const std::string& path, std::mt19937& random);
};

} // namespace halvika
