// Writes the widget's pictures and the program's icon into a resources folder:
//   artgen <resources folder>
#include "Pictures.h"
#include "tools/picturefiles/BitmapFile.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        std::cerr << "artgen: cannot write " << path << "\n";
    }
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: artgen <resources folder>\n";
        return 2;
    }
    const std::filesystem::path resources = argv[1];
    std::filesystem::create_directories(resources / "art");
    const bool written =
        writeFile(resources / "art" / "background.bmp", hk::encodeBmp(hk::makeBackground())) &&
        writeFile(resources / "art" / "titlestrip.bmp", hk::encodeBmp(hk::makeTitleStrip())) &&
        writeFile(resources / "art" / "closeglyph.bmp", hk::encodeBmp(hk::makeCloseGlyph())) &&
        writeFile(resources / "HotKeys.ico", hk::encodeIco(hk::makeProgramIcon()));
    return written ? 0 : 1;
}
