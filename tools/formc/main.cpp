// formc: compiles the text source of the widget's form description into its stored bytes.
//
//   formc SOURCE OUTPUT           writes the stored bytes to OUTPUT
//   formc --check SOURCE STORED   fails unless STORED holds exactly what SOURCE compiles to

#include "tools/bytewriter/BinaryFile.h"
#include "tools/formc/FormRecords.h"
#include "tools/formc/FormSource.h"
#include "tools/formc/FormWriter.h"

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>

namespace {

std::vector<std::uint8_t> compile(const std::filesystem::path& source) {
    const std::filesystem::path folder = source.parent_path();
    const hk::ObjectRecord root = hk::parseFormFile(source, [&](const std::filesystem::path& file) {
        return hk::readBinaryFile(folder / file);
    });
    std::vector<std::uint8_t> bytes = hk::writeForm(root);
    // What the widget cannot read back must not be stored.
    if (hk::readForm(bytes) != root) {
        throw std::runtime_error("the stored bytes do not read back as the source");
    }
    return bytes;
}

int usage() {
    std::cerr << "usage: formc SOURCE OUTPUT\n       formc --check SOURCE STORED\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        return usage();
    }
    const bool check = argc == 4;
    if (check && std::string(argv[1]) != "--check") {
        return usage();
    }
    const std::filesystem::path source = argv[check ? 2 : 1];
    const std::filesystem::path target = argv[check ? 3 : 2];
    try {
        const std::vector<std::uint8_t> bytes = compile(source);
        if (check) {
            if (hk::readBinaryFile(target) != bytes) {
                std::cerr << target.string() << " is not what " << source.string()
                          << " compiles to; rebuild it with formc\n";
                return 1;
            }
            return 0;
        }
        hk::writeBinaryFile(target, bytes);
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "formc: " << error.what() << "\n";
        return 1;
    }
}
