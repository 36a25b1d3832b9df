// An RGBA picture in memory with the few operations the generators need, and PNG output.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

namespace assetgen {

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgba fill = {});

    int width() const { return width_; }
    int height() const { return height_; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    Rgba& at(int x, int y) { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    const Rgba& at(int x, int y) const { return pixels_[static_cast<size_t>(y) * width_ + x]; }
    // Sets a pixel when it lies on the picture; drawing off the edge is clipped.
    void set(int x, int y, Rgba colour);
    const uint8_t* bytes() const { return &pixels_[0].r; }

    void fill_rect(int x, int y, int w, int h, Rgba colour);
    // Copies every non-transparent pixel of source with its top-left corner at (x, y).
    void paint(const Image& source, int x, int y);

    Image scaled(int factor) const; // each pixel becomes a factor x factor block
    Image mirrored() const;         // left-right
    Image flipped() const;          // top-bottom
    Image rotated_clockwise() const;
    Image cropped(int x, int y, int w, int h) const;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Rgba> pixels_;
};

void write_png(const Image& image, const std::filesystem::path& path);

} // namespace assetgen
