// glReadPixels, packed to RGB rows from top to bottom, written with stb_image_write.
#include "frame_png.h"

#include <GLFW/glfw3.h>
#include <stb_image_write.h>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <vector>

namespace {

// Where stb_image_write's pieces go: a file opened for this shot alone; the first error is kept.
struct PngFile {
    int fd;
    int error = 0;
};

void WritePiece(void* context, void* data, int size) {
    auto& file = *static_cast<PngFile*>(context);
    const auto* bytes = static_cast<const char*>(data);
    for (size_t left = static_cast<size_t>(size); left > 0 && file.error == 0;) {
        const ssize_t written = write(file.fd, bytes, left);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            file.error = written < 0 ? errno : ENOSPC;
            break;
        }
        bytes += written;
        left -= static_cast<size_t>(written);
    }
}

} // namespace

bool WriteFramePng(int width, int height, const std::string& path) {
    if (width <= 0 || height <= 0)
        return false;
    const size_t columns = static_cast<size_t>(width);
    const size_t rows = static_cast<size_t>(height);
    // RGBA is the one format WebGL is sure to read; the desktop gives the same pixels either way.
    std::vector<unsigned char> rgba(columns * rows * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    // OpenGL's rows run bottom-up; PNG's top-down.
    std::vector<unsigned char> rgb(columns * rows * 3);
    for (size_t row = 0; row < rows; ++row) {
        const unsigned char* from = rgba.data() + (rows - 1 - row) * columns * 4;
        unsigned char* to = rgb.data() + row * columns * 3;
        for (size_t column = 0; column < columns; ++column, from += 4, to += 3) {
            to[0] = from[0];
            to[1] = from[1];
            to[2] = from[2];
        }
    }
    PngFile file{open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644)};
    if (file.fd < 0)
        return false;
    const bool encoded = stbi_write_png_to_func(WritePiece, &file, width, height, 3, rgb.data(),
                                                static_cast<int>(columns * 3)) != 0;
    if (close(file.fd) != 0 && file.error == 0)
        file.error = errno;
    if (encoded && file.error == 0)
        return true;
    // A shot cut short is no picture: nothing half-written is left behind.
    unlink(path.c_str());
    errno = file.error != 0 ? file.error : EIO;
    return false;
}
