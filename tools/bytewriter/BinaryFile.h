#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

namespace hk {

// Whole files, as the tools read their sources and write what they make of them. Each throws
// std::runtime_error naming the file when the system refuses it.
std::vector<std::uint8_t> readBinaryFile(const std::filesystem::path& path);
void writeBinaryFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace hk
