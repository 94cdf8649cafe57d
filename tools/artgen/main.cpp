// Writes the widget's pictures and the program's icon into a resources folder:
//   artgen <resources folder>
#include "Pictures.h"
#include "tools/bytewriter/BinaryFile.h"
#include "tools/picturefiles/BitmapFile.h"

#include <exception>
#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: artgen <resources folder>\n";
        return 2;
    }
    const std::filesystem::path resources = argv[1];
    try {
        std::filesystem::create_directories(resources / "art");
        hk::writeBinaryFile(resources / "art" / "background.bmp",
                            hk::encodeBmp(hk::makeBackground()));
        hk::writeBinaryFile(resources / "art" / "titlestrip.bmp",
                            hk::encodeBmp(hk::makeTitleStrip()));
        hk::writeBinaryFile(resources / "art" / "closeglyph.bmp",
                            hk::encodeBmp(hk::makeCloseGlyph()));
        hk::writeBinaryFile(resources / "HotKeys.ico", hk::encodeIco(hk::makeProgramIcon()));
        return 0;
    } catch (const std::exception& error) {
        std::cerr << "artgen: " << error.what() << "\n";
        return 1;
    }
}
