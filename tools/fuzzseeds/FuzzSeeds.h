#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace hk {

// Each fuzz target's seed inputs by "<target>/<name>": the program's form description and its
// pictures as formc compiles them from resources/Form1.form, that form with small pictures (quick
// to mutate), the small forms of tools/fuzzseeds, and pictures of every header kind, bit depth,
// table and compression the readers take, with a few cut or renamed copies. Every byte comes
// from formc's form writer and the picture writers that make the program's resources.
std::map<std::string, std::vector<std::uint8_t>> fuzzSeeds(const std::filesystem::path& sourceDir);

} // namespace hk
