// The drawing program interpreter. Commands (coordinates and sizes in screen pixels, even):
//
//   size W H                        the picture's size; it starts clear
//   fill COLOUR                     the whole picture
//   rect X Y W H COLOUR             a filled rectangle
//   frame X Y W H T COLOUR          a rectangle's outline, T thick
//   dashes X Y W H GAP X2 COLOUR    rectangles W wide every W + GAP pixels from X to X2
//   line X1 Y1 X2 Y2 COLOUR         a line one block thick
//   poly COLOUR X1 Y1 X2 Y2 ...     a filled polygon
//   hatch COLOUR X1 Y1 X2 Y2 ...    the same polygon on every other block only, a half tone
//   disc X Y R COLOUR               a filled circle
//   speckle X Y W H COUNT SEED COLOUR   COUNT single blocks scattered in the rectangle
//   text X Y SCALE COLOUR "TEXT"    the game font, each font pixel SCALE blocks square
//   sprite NAME X Y SCALE [COLOUR]  a sprite's map, SCALE blocks per map pixel, in its own
//                                   colours or as a silhouette
#include "picture_program.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "text_source.h"

namespace assetgen {

namespace {

class Painter {
public:
    Painter(const TextSource& source, const Palette& palette, const Font& font,
            const SpriteLibrary& sprites)
        : source_(source), palette_(palette), font_(font), sprites_(sprites) {}

    void run(const SourceLine& line);
    Image result() const { return canvas_.scaled(kBlock); }

private:
    int coord(size_t i) const;
    int number(size_t i) const { return parse_int(word(i), source_, line_); }
    Rgba colour(size_t i) const;
    const std::string& word(size_t i) const;
    void expect(size_t count, const char* usage) const;

    void fill_polygon(const std::vector<double>& xs, const std::vector<double>& ys, Rgba c,
                      bool hatched);
    void draw_line(int x1, int y1, int x2, int y2, Rgba c);

    const TextSource& source_;
    const Palette& palette_;
    const Font& font_;
    const SpriteLibrary& sprites_;
    Image canvas_;
    std::vector<std::string> words_;
    int line_ = 0;
};

const std::string& Painter::word(size_t i) const {
    if (i >= words_.size()) {
        source_.fail(line_, "missing value for '" + words_[0] + "'");
    }
    return words_[i];
}

void Painter::expect(size_t count, const char* usage) const {
    if (words_.size() != count) {
        source_.fail(line_, std::string("expected: ") + usage);
    }
}

int Painter::coord(size_t i) const {
    int value = number(i);
    if (value % kBlock != 0) {
        source_.fail(line_, "'" + word(i) + "' is not on the block grid (even)");
    }
    return value / kBlock;
}

Rgba Painter::colour(size_t i) const {
    Rgba c;
    if (!palette_.lookup(word(i), c)) {
        source_.fail(line_, "'" + word(i) + "' is not a palette colour");
    }
    return c;
}

void Painter::fill_polygon(const std::vector<double>& xs, const std::vector<double>& ys, Rgba c,
                           bool hatched) {
    for (int y = 0; y < canvas_.height(); ++y) {
        double cy = y + 0.5;
        std::vector<double> crossings;
        for (size_t i = 0; i < xs.size(); ++i) {
            size_t j = (i + 1) % xs.size();
            if ((ys[i] <= cy) != (ys[j] <= cy)) {
                crossings.push_back(xs[i] + (cy - ys[i]) * (xs[j] - xs[i]) / (ys[j] - ys[i]));
            }
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
            int from = static_cast<int>(std::ceil(crossings[k] - 0.5));
            int to = static_cast<int>(std::ceil(crossings[k + 1] - 0.5));
            for (int x = from; x < to; ++x) {
                if (!hatched || (x + y) % 2 == 0) {
                    canvas_.set(x, y, c);
                }
            }
        }
    }
}

void Painter::draw_line(int x1, int y1, int x2, int y2, Rgba c) {
    int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    for (int s = 0; s <= steps; ++s) {
        double t = steps == 0 ? 0.0 : static_cast<double>(s) / steps;
        canvas_.set(static_cast<int>(std::lround(x1 + (x2 - x1) * t)),
                    static_cast<int>(std::lround(y1 + (y2 - y1) * t)), c);
    }
}

void Painter::run(const SourceLine& line) {
    line_ = line.number;
    words_ = split_words(line.text);
    if (words_.empty()) {
        return;
    }
    const std::string& command = words_[0];
    if (command == "size") {
        expect(3, "size W H");
        canvas_ = Image(coord(1), coord(2));
        return;
    }
    if (canvas_.width() == 0) {
        source_.fail(line_, "the program must start with 'size'");
    }
    if (command == "fill") {
        expect(2, "fill COLOUR");
        canvas_.fill_rect(0, 0, canvas_.width(), canvas_.height(), colour(1));
    } else if (command == "rect") {
        expect(6, "rect X Y W H COLOUR");
        canvas_.fill_rect(coord(1), coord(2), coord(3), coord(4), colour(5));
    } else if (command == "frame") {
        expect(7, "frame X Y W H T COLOUR");
        int x = coord(1), y = coord(2), w = coord(3), h = coord(4), t = coord(5);
        Rgba c = colour(6);
        canvas_.fill_rect(x, y, w, t, c);
        canvas_.fill_rect(x, y + h - t, w, t, c);
        canvas_.fill_rect(x, y, t, h, c);
        canvas_.fill_rect(x + w - t, y, t, h, c);
    } else if (command == "dashes") {
        expect(8, "dashes X Y W H GAP X2 COLOUR");
        int w = coord(3), gap = coord(5);
        if (w + gap <= 0) {
            source_.fail(line_, "dash and gap must be wider than nothing");
        }
        for (int x = coord(1); x < coord(6); x += w + gap) {
            canvas_.fill_rect(x, coord(2), std::min(w, coord(6) - x), coord(4), colour(7));
        }
    } else if (command == "line") {
        expect(6, "line X1 Y1 X2 Y2 COLOUR");
        draw_line(coord(1), coord(2), coord(3), coord(4), colour(5));
    } else if (command == "poly" || command == "hatch") {
        if (words_.size() < 8 || words_.size() % 2 != 0) {
            source_.fail(line_, "expected: " + command + " COLOUR X1 Y1 X2 Y2 X3 Y3 ...");
        }
        std::vector<double> xs, ys;
        for (size_t i = 2; i < words_.size(); i += 2) {
            xs.push_back(static_cast<double>(number(i)) / kBlock);
            ys.push_back(static_cast<double>(number(i + 1)) / kBlock);
        }
        fill_polygon(xs, ys, colour(1), command == "hatch");
    } else if (command == "disc") {
        expect(5, "disc X Y R COLOUR");
        double cx = static_cast<double>(number(1)) / kBlock,
               cy = static_cast<double>(number(2)) / kBlock;
        double r = static_cast<double>(number(3)) / kBlock;
        Rgba c = colour(4);
        for (int y = 0; y < canvas_.height(); ++y) {
            for (int x = 0; x < canvas_.width(); ++x) {
                double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
                if (dx * dx + dy * dy <= r * r) {
                    canvas_.set(x, y, c);
                }
            }
        }
    } else if (command == "speckle") {
        expect(8, "speckle X Y W H COUNT SEED COLOUR");
        uint32_t seed = static_cast<uint32_t>(number(6));
        int x = coord(1), y = coord(2), w = coord(3), h = coord(4);
        if (w <= 0 || h <= 0) {
            source_.fail(line_, "the speckle area is empty");
        }
        for (int n = number(5); n > 0; --n) {
            seed = seed * 1664525u + 1013904223u;
            int px = static_cast<int>((seed >> 8) % static_cast<uint32_t>(w));
            seed = seed * 1664525u + 1013904223u;
            int py = static_cast<int>((seed >> 8) % static_cast<uint32_t>(h));
            canvas_.set(x + px, y + py, colour(7));
        }
    } else if (command == "text") {
        expect(6, "text X Y SCALE COLOUR \"TEXT\"");
        int x = coord(1), y = coord(2), scale = number(3);
        Rgba c = colour(4);
        const std::string& text = word(5);
        for (size_t k = 0; k < text.size(); ++k) {
            for (int gy = 0; gy < 8; ++gy) {
                for (int gx = 0; gx < 8; ++gx) {
                    if (font_.ink(static_cast<unsigned char>(text[k]), gx, gy)) {
                        canvas_.fill_rect(x + (static_cast<int>(k) * 8 + gx) * scale,
                                          y + gy * scale, scale, scale, c);
                    }
                }
            }
        }
    } else if (command == "sprite") {
        if (words_.size() != 5 && words_.size() != 6) {
            source_.fail(line_, "expected: sprite NAME X Y SCALE [COLOUR]");
        }
        Image map;
        try {
            map = sprites_.map(word(1));
        } catch (const AssetError& e) {
            source_.fail(line_, e.what());
        }
        int scale = number(4);
        if (scale < 1) {
            source_.fail(line_, "the scale must be at least 1");
        }
        Image picture = map.scaled(scale);
        if (words_.size() == 5) {
            canvas_.paint(picture, coord(2), coord(3));
            return;
        }
        // A silhouette: every pixel the sprite covers takes the colour, even a clear one, so
        // that a silhouette can also be cut out of what is already drawn.
        Rgba c = colour(5);
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (picture.at(x, y).a != 0) {
                    canvas_.set(coord(2) + x, coord(3) + y, c);
                }
            }
        }
    } else {
        source_.fail(line_, "unknown command '" + command + "'");
    }
}

} // namespace

Image run_picture_program(const std::filesystem::path& path, const Palette& palette,
                          const Font& font, const SpriteLibrary& sprites) {
    TextSource source(path);
    Painter painter(source, palette, font, sprites);
    for (const SourceLine& line : source.lines()) {
        painter.run(line);
    }
    Image picture = painter.result();
    if (picture.width() == 0) {
        throw AssetError(path.string() + ": draws nothing");
    }
    return picture;
}

} // namespace assetgen
