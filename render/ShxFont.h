// SHX shape fonts ("AutoCAD-86 shapes 1.0"): each shape's byte codes are
// turned into stroke paths in font units the first time the shape is drawn,
// then kept.
#pragma once

#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/Geometry.h"
#include "render/Glyph.h"

namespace kestrin::render {

struct ShapeCommand;

class FontError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ShxFont {
public:
    // Checks the header, the index and that every record lies in the file;
    // FontError names `name` and the byte offset otherwise.
    static std::shared_ptr<const ShxFont> parse(std::string_view bytes, const std::string& name);

    const std::string& name() const { return name_; }
    // Height of a capital above the baseline and depth of descenders, from shape 0.
    int above() const { return above_; }
    int below() const { return below_; }
    bool has(int number) const { return shapes_.count(number) != 0; }
    std::string_view shapeName(int number) const;
    // Null for a shape the font lacks. A shape whose codes run past its end
    // or nest sub-shapes too deep draws what it had up to there.
    const Glyph* glyph(int number) const;
    std::size_t shapeCount() const { return shapes_.size(); }

private:
    struct Shape {
        std::string name;
        std::string codes;
    };
    struct Pen;
    // Draws shape `number` with the pen (a sub-shape `depth` levels down).
    void run(int number, Pen& pen, int depth) const;
    void draw(const ShapeCommand& command, Pen& pen, int depth) const;

    std::string name_;
    int above_ = 0;
    int below_ = 0;
    std::map<int, Shape> shapes_;
    mutable std::mutex cacheLock_;
    mutable std::unordered_map<int, std::unique_ptr<Glyph>> cache_;
    // The glyphs of numbers 0 to 255 once made, read without the lock: a
    // large drawing asks for one for every character it shows.
    mutable std::array<std::atomic<const Glyph*>, 256> made_{};
};

}  // namespace kestrin::render
