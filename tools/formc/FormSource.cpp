#include "tools/formc/FormSource.h"

#include "tools/bytewriter/BinaryFile.h"
#include "tools/picturefiles/PicturePayload.h"

#include <charconv>
#include <limits>
#include <optional>
#include <string_view>

namespace hk {
namespace {

// One line of the source, read left to right.
class LineCursor {
public:
    LineCursor(std::string_view text, int number) : rest_(text), number_(number) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw FormSourceError("line " + std::to_string(number_) + ": " + what);
    }

    bool atEnd() {
        skipSpace();
        return rest_.empty();
    }

    char peek() {
        skipSpace();
        return rest_.empty() ? '\0' : rest_.front();
    }

    void expect(char wanted) {
        if (peek() != wanted) {
            fail(std::string("expected '") + wanted + "'");
        }
        rest_.remove_prefix(1);
    }

    void expectEnd() {
        if (!atEnd()) {
            fail("unexpected \"" + std::string(rest_) + "\"");
        }
    }

    // A name, a dotted property name, an identifier or a number.
    std::string word() {
        skipSpace();
        std::size_t length = 0;
        while (length < rest_.size() && isWordChar(rest_[length])) {
            ++length;
        }
        if (length == 0) {
            fail(rest_.empty() ? "line ends where a word was expected"
                               : "expected a word at \"" + std::string(rest_) + "\"");
        }
        std::string result(rest_.substr(0, length));
        rest_.remove_prefix(length);
        return result;
    }

    std::string quoted() {
        expect('"');
        const std::size_t close = rest_.find('"');
        if (close == std::string_view::npos) {
            fail("text has no closing '\"'");
        }
        std::string result(rest_.substr(0, close));
        rest_.remove_prefix(close + 1);
        return result;
    }

private:
    static bool isWordChar(char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '.' || c == '-';
    }

    void skipSpace() {
        while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) {
            rest_.remove_prefix(1);
        }
    }

    std::string_view rest_;
    int number_;
};

template <typename T> T integer(LineCursor& line) {
    const std::string text = line.word();
    long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        line.fail("\"" + text + "\" is not a whole number");
    }
    if (value < std::numeric_limits<T>::min() || value > std::numeric_limits<T>::max()) {
        line.fail(text + " does not fit its integer type");
    }
    return static_cast<T>(value);
}

std::string eightBitText(LineCursor& line) {
    std::string text = line.quoted();
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            line.fail("string values are stored as 8-bit text and must be ASCII; use utf8");
        }
    }
    return text;
}

IdentifierSet set(LineCursor& line) {
    IdentifierSet set;
    line.expect('[');
    while (line.peek() != ']') {
        set.names.push_back(line.word());
        if (line.peek() != ']') {
            line.expect(',');
        }
    }
    line.expect(']');
    return set;
}

// A picture payload, from the picture class's name and the file it names.
BinaryData picture(LineCursor& line, const FileLoader& load) {
    const std::string className = line.word();
    if (className.size() > std::numeric_limits<std::uint8_t>::max()) {
        line.fail("the picture class name is too long");
    }
    if (line.word() != "file") {
        line.fail("expected file \"<path>\" after the picture class");
    }
    const std::string path = line.quoted();
    std::vector<std::uint8_t> file;
    try {
        file = load(path);
    } catch (const std::exception& error) {
        line.fail(error.what());
    }
    if (file.size() > std::numeric_limits<std::uint32_t>::max()) {
        line.fail("the file is too large for a 32-bit length");
    }
    return picturePayload(className, file);
}

PropertyValue value(LineCursor& line, const FileLoader& load) {
    const std::string type = line.word();
    if (type == "int8") {
        return integer<std::int8_t>(line);
    }
    if (type == "int16") {
        return integer<std::int16_t>(line);
    }
    if (type == "string") {
        return eightBitText(line);
    }
    if (type == "ident") {
        return Identifier{line.word()};
    }
    if (type == "false" || type == "true") {
        return type == "true";
    }
    if (type == "binary") {
        return picture(line, load);
    }
    if (type == "set") {
        return set(line);
    }
    if (type == "utf8") {
        return Utf8Text{line.quoted()};
    }
    line.fail("unknown value type " + type);
}

class SourceParser {
public:
    explicit SourceParser(const FileLoader& load) : load_(load) {}

    void line(LineCursor& line) {
        if (line.atEnd() || line.peek() == '#') {
            return;
        }
        if (root_) {
            line.fail("text after the end of the form's object");
        }
        const std::string first = line.word();
        if (first == "object") {
            open(line);
        } else if (first == "end") {
            line.expectEnd();
            close(line);
        } else {
            property(line, first);
        }
    }

    ObjectRecord finish(int lastLine) {
        if (!open_.empty()) {
            LineCursor(std::string_view(), lastLine)
                .fail("object " + open_.back().name + " has no end");
        }
        if (!root_) {
            LineCursor(std::string_view(), lastLine).fail("the source holds no object");
        }
        return std::move(*root_);
    }

private:
    void open(LineCursor& line) {
        ObjectRecord record;
        record.name = line.word();
        line.expect(':');
        record.className = line.word();
        line.expectEnd();
        open_.push_back(std::move(record));
    }

    void close(const LineCursor& line) {
        if (open_.empty()) {
            line.fail("end without an object");
        }
        ObjectRecord record = std::move(open_.back());
        open_.pop_back();
        if (open_.empty()) {
            root_ = std::move(record);
        } else {
            open_.back().children.push_back(std::move(record));
        }
    }

    void property(LineCursor& line, const std::string& name) {
        if (open_.empty()) {
            line.fail("property " + name + " outside an object");
        }
        if (!open_.back().children.empty()) {
            line.fail("property " + name + " after the object's children");
        }
        line.expect('=');
        PropertyValue stored = value(line, load_);
        line.expectEnd();
        open_.back().properties.push_back({name, std::move(stored)});
    }

    const FileLoader& load_;
    std::vector<ObjectRecord> open_;
    std::optional<ObjectRecord> root_;
};

} // namespace

ObjectRecord parseFormSource(const std::string& source, const FileLoader& load) {
    SourceParser parser(load);
    int number = 0;
    std::size_t start = 0;
    while (start < source.size()) {
        std::size_t end = source.find('\n', start);
        if (end == std::string::npos) {
            end = source.size();
        }
        std::string_view text(source.data() + start, end - start);
        if (!text.empty() && text.back() == '\r') {
            text.remove_suffix(1);
        }
        LineCursor line(text, ++number);
        parser.line(line);
        start = end + 1;
    }
    return parser.finish(number);
}

ObjectRecord parseFormFile(const std::filesystem::path& source, const FileLoader& load) {
    const std::vector<std::uint8_t> text = readBinaryFile(source);
    return parseFormSource(std::string(text.begin(), text.end()), load);
}

} // namespace hk
