#pragma once

#include "form/FormReader.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace hk {

// A fault in the text source, with its line number.
class FormSourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads a file that a `binary` value names, relative to the source's folder.
using FileLoader = std::function<std::vector<std::uint8_t>(const std::filesystem::path&)>;

// Parses the text form of a form description:
//
//   object Form1: TForm1            one object; `end` closes it, children come after properties
//     Left = int16 260              type 3        Font.Height = int8 -11      type 2
//     Font.Name = string "Face"     type 6, ASCII Color = ident clBtnFace     type 7
//     Visible = false / true        types 8, 9    Font.Style = set [fsBold]   type 11
//     Caption = utf8 "сайт"         type 20, the source's UTF-8 bytes as they are
//     Picture.Data = binary TPNGGraphic file "art/x.bmp"
//                                   type 10: the class name's length and text, the file's
//                                   32-bit length, then the file
//   end
//
// Lines starting with '#' are comments. Quoted text runs to the next '"'.
ObjectRecord parseFormSource(const std::string& source, const FileLoader& load);

// Parses the source held in a file.
ObjectRecord parseFormFile(const std::filesystem::path& source, const FileLoader& load);

} // namespace hk
