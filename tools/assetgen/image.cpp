// RGBA pictures: clipping pixel writes, block scaling, mirroring, rotation and PNG output.
#include "image.h"

#include <stb/stb_image_write.h>

#include "text_source.h"

namespace assetgen {

Image::Image(int width, int height, Rgba fill)
    : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

void Image::set(int x, int y, Rgba colour) {
    if (contains(x, y)) {
        at(x, y) = colour;
    }
}

void Image::fill_rect(int x, int y, int w, int h, Rgba colour) {
    for (int yy = y; yy < y + h; ++yy) {
        for (int xx = x; xx < x + w; ++xx) {
            set(xx, yy, colour);
        }
    }
}

void Image::paint(const Image& source, int x, int y) {
    for (int sy = 0; sy < source.height(); ++sy) {
        for (int sx = 0; sx < source.width(); ++sx) {
            const Rgba& p = source.at(sx, sy);
            if (p.a != 0) {
                set(x + sx, y + sy, p);
            }
        }
    }
}

Image Image::scaled(int factor) const {
    Image out(width_ * factor, height_ * factor);
    for (int y = 0; y < out.height(); ++y) {
        for (int x = 0; x < out.width(); ++x) {
            out.at(x, y) = at(x / factor, y / factor);
        }
    }
    return out;
}

Image Image::mirrored() const {
    Image out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            out.at(width_ - 1 - x, y) = at(x, y);
        }
    }
    return out;
}

Image Image::flipped() const {
    Image out(width_, height_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            out.at(x, height_ - 1 - y) = at(x, y);
        }
    }
    return out;
}

Image Image::rotated_clockwise() const {
    Image out(height_, width_);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            out.at(height_ - 1 - y, x) = at(x, y);
        }
    }
    return out;
}

Image Image::cropped(int x, int y, int w, int h) const {
    Image out(w, h);
    for (int yy = 0; yy < h; ++yy) {
        for (int xx = 0; xx < w; ++xx) {
            if (contains(x + xx, y + yy)) {
                out.at(xx, yy) = at(x + xx, y + yy);
            }
        }
    }
    return out;
}

void write_png(const Image& image, const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    if (!stbi_write_png(path.string().c_str(), image.width(), image.height(), 4, image.bytes(),
                        image.width() * 4)) {
        throw AssetError(path.string() + ": cannot be written");
    }
}

} // namespace assetgen
