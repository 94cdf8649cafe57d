// fuzzseeds: writes the fuzz targets' seed inputs, SEEDS_DIR/<target>/<name>, leaving alone the
// inputs that fuzzing once found (found-*), which are kept beside them.
//
//   fuzzseeds SOURCE_DIR SEEDS_DIR           writes the seeds and removes any that are no more
//   fuzzseeds --check SOURCE_DIR SEEDS_DIR   fails unless SEEDS_DIR holds exactly those seeds

#include "tools/bytewriter/BinaryFile.h"
#include "tools/fuzzseeds/FuzzSeeds.h"

#include <filesystem>
#include <iostream>
#include <set>
#include <string>

namespace {

namespace fs = std::filesystem;
using Seeds = std::map<std::string, std::vector<std::uint8_t>>;

bool foundByFuzzing(const fs::path& file) {
    return file.filename().string().starts_with("found-");
}

// What the seeds folder holds now, found inputs aside, by "<target>/<name>".
std::set<std::string> storedSeeds(const fs::path& seedsDir) {
    std::set<std::string> names;
    if (!fs::exists(seedsDir)) {
        return names;
    }
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(seedsDir)) {
        if (entry.is_regular_file() && !foundByFuzzing(entry.path())) {
            names.insert(entry.path().lexically_relative(seedsDir).generic_string());
        }
    }
    return names;
}

int check(const Seeds& seeds, const fs::path& seedsDir) {
    int differences = 0;
    for (const auto& [name, bytes] : seeds) {
        if (!fs::exists(seedsDir / name) || hk::readBinaryFile(seedsDir / name) != bytes) {
            std::cerr << name << " is not what fuzzseeds writes\n";
            ++differences;
        }
    }
    for (const std::string& name : storedSeeds(seedsDir)) {
        if (!seeds.contains(name)) {
            std::cerr << name << " is no seed of fuzzseeds\n";
            ++differences;
        }
    }
    if (differences > 0) {
        std::cerr << "rewrite the seeds: cmake --build --preset native --target fuzz-seeds\n";
    }
    return differences == 0 ? 0 : 1;
}

int write(const Seeds& seeds, const fs::path& seedsDir) {
    for (const std::string& name : storedSeeds(seedsDir)) {
        if (!seeds.contains(name)) {
            fs::remove(seedsDir / name);
        }
    }
    for (const auto& [name, bytes] : seeds) {
        fs::create_directories((seedsDir / name).parent_path());
        hk::writeBinaryFile(seedsDir / name, bytes);
    }
    return 0;
}

int usage() {
    std::cerr << "usage: fuzzseeds SOURCE_DIR SEEDS_DIR\n"
                 "       fuzzseeds --check SOURCE_DIR SEEDS_DIR\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const bool checking = argc == 4 && std::string(argv[1]) == "--check";
    if (argc != 3 && !checking) {
        return usage();
    }
    const fs::path sourceDir = argv[checking ? 2 : 1];
    const fs::path seedsDir = argv[checking ? 3 : 2];
    try {
        const Seeds seeds = hk::fuzzSeeds(sourceDir);
        return checking ? check(seeds, seedsDir) : write(seeds, seedsDir);
    } catch (const std::exception& error) {
        std::cerr << "fuzzseeds: " << error.what() << "\n";
        return 1;
    }
}
