// shapec: shape source text -> SHX shape font ("AutoCAD-86 shapes 1.0").
//
//   shapec -o FONT.shx SOURCE.shp...
//
// Source syntax, one shape after the other:
//
//   ; comment to the end of the line
//   *NUMBER,BYTES,NAME        header; NUMBER and BYTES as below, NAME to the line's end
//   2,8,(-4,9),1,014,0        shape bytes, commas between, parentheses only group
//
// A number is decimal (with an optional minus sign) or, with a leading 0,
// hexadecimal: 014 is the vector of length 1 in direction 4. BYTES is the
// count of shape bytes including the closing 0. Shape 0 of a font
// holds above, below, modes and 0.
//
// Every shape is checked byte by byte (codes and their operands, the pen
// stack, sub-shapes that exist); a fault stops the run naming file:line.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fs/FileSystem.h"
#include "render/ShapeCodes.h"

namespace {

class SourceError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct Where {
    std::string file;
    int line = 0;
    std::string str() const { return file + ":" + std::to_string(line); }
};

struct Shape {
    int number = 0;
    std::string name;
    Where header;
    int declared = 0;
    std::vector<std::uint8_t> bytes;
    std::vector<int> lines;  // source line of each byte
    std::vector<bool> negative;  // each byte was written with a minus sign
};

constexpr std::size_t kMaxShapeBytes = 2000;

[[noreturn]] void fail(const Where& at, const std::string& what) { throw SourceError(at.str() + ": " + what); }

std::string trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

// Decimal, or hexadecimal after a leading 0 ("014", "-0A").
std::optional<long> parseNumber(const std::string& token) {
    std::string t = token;
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t.erase(0, 1);
    }
    if (t.empty() || t.size() > 6) return std::nullopt;
    const bool hex = t.size() > 1 && t[0] == '0';
    long value = 0;
    for (char c : t) {
        int digit;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        else return std::nullopt;
        value = value * (hex ? 16 : 10) + digit;
    }
    return negative ? -value : value;
}

void readSource(const std::string& file, std::vector<Shape>& shapes) {
    auto content = kestrin::fs::FileSystem::current().readFile(file);
    if (!content) throw SourceError(content.error().message());
    std::istringstream in(*content);
    std::string line;
    Where at{file, 0};
    Shape* current = nullptr;
    const std::size_t first = shapes.size();
    while (std::getline(in, line)) {
        ++at.line;
        const auto semicolon = line.find(';');
        if (line.rfind('*', 0) != 0 && semicolon != std::string::npos) line.erase(semicolon);
        line = trim(line);
        if (line.empty()) continue;
        if (line[0] == '*') {
            const auto c1 = line.find(',');
            const auto c2 = c1 == std::string::npos ? c1 : line.find(',', c1 + 1);
            if (c2 == std::string::npos) fail(at, "a shape header is *NUMBER,BYTES,NAME");
            const auto number = parseNumber(trim(line.substr(1, c1 - 1)));
            const auto declared = parseNumber(trim(line.substr(c1 + 1, c2 - c1 - 1)));
            if (!number || *number < 0 || *number > 65535) fail(at, "shape number is not 0 to 65535");
            if (!declared || *declared < 1 || *declared > static_cast<long>(kMaxShapeBytes))
                fail(at, "byte count is not 1 to 2000");
            Shape shape;
            shape.number = static_cast<int>(*number);
            shape.declared = static_cast<int>(*declared);
            shape.name = trim(line.substr(c2 + 1));
            shape.header = at;
            for (unsigned char ch : shape.name)
                if (ch < 32 || ch == 127) fail(at, "the shape name holds a control character");
            shapes.push_back(std::move(shape));
            current = &shapes.back();
            continue;
        }
        if (!current) fail(at, "shape bytes before the first *NUMBER,BYTES,NAME header");
        std::string token;
        auto flush = [&] {
            const std::string t = trim(token);
            token.clear();
            if (t.empty()) return;
            const auto value = parseNumber(t);
            if (!value) fail(at, "'" + t + "' is not a number");
            if (*value < -128 || *value > 255) fail(at, t + " does not fit in a byte");
            current->bytes.push_back(static_cast<std::uint8_t>(*value & 0xFF));
            current->lines.push_back(at.line);
            current->negative.push_back(*value < 0);
        };
        for (char c : line) {
            if (c == ',') flush();
            else if (c == '(') {
                if (!trim(token).empty()) fail(at, "'(' after a number without a comma");
            } else if (c == ')') {
                flush();
            } else token += c;
        }
        flush();
    }
    if (shapes.size() == first) throw SourceError(file + ":" + std::to_string(at.line) + ": no shapes");
}

// Checks one shape's shape bytes as the shape renderer reads them.
// Checks one shape; answers where its arc direction bytes ("(-)0SC" of codes
// 10 and 11) stand.
std::vector<int> checkShape(const Shape& s, const std::map<int, const Shape*>& all) {
    std::vector<int> directions;
    Where at = s.header;
    const int count = static_cast<int>(s.bytes.size());
    if (count != s.declared)
        fail(s.header, "shape " + std::to_string(s.number) + " declares " + std::to_string(s.declared) +
                           " bytes but has " + std::to_string(count));
    if (count == 0 || s.bytes.back() != 0) fail(s.header, "shape " + std::to_string(s.number) + " does not end with 0");
    if (s.number == 0) {
        if (count != 4 && count != 5) fail(s.header, "shape 0 holds above, below, modes and 0");
        if (s.bytes[0] == 0) fail(s.header, "shape 0: above is 0");
        if (s.bytes[2] > 2) fail(s.header, "shape 0: modes is 0 or 2");
        return directions;
    }
    // The codes as the font reader reads them; what it would pass over or
    // stop at is an error here.
    const std::string codes(s.bytes.begin(), s.bytes.end());
    int depth = 0;
    using Kind = kestrin::render::ShapeCommand::Kind;
    const auto problem = kestrin::render::decodeShape(codes, [&](const kestrin::render::ShapeCommand& c) {
        at.line = s.lines[c.at];
        switch (c.kind) {
            case Kind::End:
                if (c.at != static_cast<std::size_t>(count - 1))
                    fail(at, "0 ends shape " + std::to_string(s.number) + " before its last byte");
                break;
            case Kind::DivideScale:
            case Kind::MultiplyScale:
                if (c.value == 0) fail(at, "scale factor 0");
                break;
            case Kind::Push:
                if (++depth > 4) fail(at, "more than 4 locations pushed");
                break;
            case Kind::Pop:
                if (--depth < 0) fail(at, "pop without a pushed location");
                break;
            case Kind::SubShape:
                if (!all.count(c.value) || c.value == s.number)
                    fail(at, "sub-shape " + std::to_string(c.value) + " does not exist");
                break;
            case Kind::BulgeArcs:
                for (const auto& step : c.steps)
                    if (step.bulge == -128) fail(at, "bulge -128 is out of range");
                break;
            case Kind::OctantArc:
                if (c.radius == 0) fail(at, "octant arc of radius 0");
                directions.push_back(static_cast<int>(c.octantsAt));
                break;
            case Kind::FractionalArc:
                directions.push_back(static_cast<int>(c.octantsAt));
                break;
            case Kind::Unknown:
                fail(at, "code " + std::to_string(c.code) + " is no shape code");
                break;
            case Kind::Vector:
            case Kind::PenDown:
            case Kind::PenUp:
            case Kind::Displacements:
            case Kind::VerticalOnly:
                break;
        }
    });
    if (problem) {
        at.line = s.lines[problem->at];
        fail(at, problem->what + " runs past the end of shape " + std::to_string(s.number));
    }
    if (depth != 0) fail(s.header, "shape " + std::to_string(s.number) + " leaves pushed locations on the stack");
    return directions;
}

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

std::string shxBytes(const std::map<int, const Shape*>& shapes) {
    std::string out = "AutoCAD-86 shapes 1.0\r\n\x1a";
    put16(out, static_cast<unsigned>(shapes.begin()->first));
    put16(out, static_cast<unsigned>(shapes.rbegin()->first));
    put16(out, static_cast<unsigned>(shapes.size()));
    for (const auto& [number, s] : shapes) {
        put16(out, static_cast<unsigned>(number));
        put16(out, static_cast<unsigned>(s->name.size() + 1 + s->bytes.size()));
    }
    for (const auto& [number, s] : shapes) {
        out += s->name;
        out += '\0';
        out.append(s->bytes.begin(), s->bytes.end());
    }
    out += "EOF";
    return out;
}

int usage(const std::string& why) {
    std::cerr << "shapec: " << why << "\nusage: shapec -o FONT.shx SOURCE.shp...\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    std::string output;
    std::vector<std::string> sources;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        if (a == "-o") {
            if (++i >= argc) return usage("-o needs a file");
            output = argv[i];
        } else if (a.rfind('-', 0) == 0) {
            return usage("unknown option " + a);
        } else {
            sources.push_back(a);
        }
    }
    if (output.empty() || sources.empty()) return usage("an output file and at least one source are needed");
    try {
        std::vector<Shape> shapes;
        for (const std::string& source : sources) readSource(source, shapes);
        std::map<int, const Shape*> byNumber;
        for (const Shape& s : shapes) {
            const auto [it, added] = byNumber.emplace(s.number, &s);
            if (!added)
                fail(s.header, "shape " + std::to_string(s.number) + " is already defined at " + it->second->header.str());
        }
        for (Shape& s : shapes) {
            // An arc's direction byte carries its sign in the top bit (sign and
            // magnitude), unlike displacements: -043 is 0C3, not 0BD.
            for (int at : checkShape(s, byNumber))
                if (s.negative[at]) s.bytes[at] = static_cast<std::uint8_t>(0x80 | (0x100 - s.bytes[at]));
        }
        const std::string bytes = shxBytes(byNumber);
        const auto written = kestrin::fs::FileSystem::current().writeFile(output, bytes);
        if (!written) throw SourceError(written.error().message());
    } catch (const SourceError& e) {
        std::cerr << "shapec: " << e.what() << "\n";
        // An earlier build's font must not pass for this one.
        const auto old = kestrin::fs::FileSystem::current().status(output);
        if (old && old->exists()) (void)kestrin::fs::FileSystem::current().removeFile(output);
        return 1;
    }
    return 0;
}
