// The frame-cost benchmark's peer: the game's recorded frames (bench/draw_recorder.h) drawn again
// from the same pictures with SDL2's 2D renderer on its OpenGL back end, the rasteriser the game
// itself uses. Prints the CPU time of one frame, drawn and finished, as
//   frames N process_ms X thread_ms Y
// Not part of the game.
//   sdl_peer SCENE [FRAMES [SHOT.png]]
#include <SDL.h>
#include <SDL_opengl.h>
#include <stb_image.h>
#include <stb_image_write.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 480;

double CpuSeconds(clockid_t clock) {
    timespec t{};
    clock_gettime(clock, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// A texture from the picture file with its colours premultiplied by alpha, as the game keeps
// them; a blank one when there is no file.
SDL_Texture* LoadPicture(SDL_Renderer* renderer, const std::string& path, int width, int height) {
    int w = width, h = height, depth = 4;
    unsigned char* pixels = path == "-" ? nullptr : stbi_load(path.c_str(), &w, &h, &depth, 4);
    std::vector<unsigned char> blank;
    if (!pixels) {
        blank.assign(static_cast<size_t>(width) * height * 4, 0);
        w = width;
        h = height;
    }
    unsigned char* data = pixels ? pixels : blank.data();
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        unsigned char* p = data + i * 4;
        for (int c = 0; c < 3; ++c)
            p[c] = static_cast<unsigned char>(p[c] * p[3] / 255);
    }
    SDL_Texture* texture =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STATIC, w, h);
    SDL_UpdateTexture(texture, nullptr, data, w * 4);
    if (pixels)
        stbi_image_free(pixels);
    return texture;
}

struct Command {
    char op;
    std::vector<float> args;
};

struct Scene {
    std::map<int, SDL_Texture*> textures;
    std::vector<std::vector<Command>> frames;
};

bool ReadScene(const char* path, SDL_Renderer* renderer, Scene& scene) {
    std::ifstream in(path);
    if (!in)
        return false;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        char op = 0;
        words >> op;
        if (op == 'S') {
            int id = 0, w = 0, h = 0;
            std::string file;
            words >> id >> w >> h;
            std::getline(words >> std::ws, file);
            scene.textures[id] = LoadPicture(renderer, file, w, h);
        } else if (op == 'F') {
            scene.frames.emplace_back();
        } else if (op == 'X' && line.find('-') != std::string::npos) {
            scene.frames.back().push_back({'X', {}});
        } else if (op && !scene.frames.empty()) {
            Command command{op, {}};
            for (float value; words >> value;)
                command.args.push_back(value);
            scene.frames.back().push_back(command);
        }
    }
    return !scene.frames.empty();
}

struct Pen {
    Uint8 r = 0, g = 0, b = 0, a = 0;
    float m[6] = {1, 0, 0, 1, 0, 0};
    SDL_BlendMode blend = SDL_BLENDMODE_BLEND;
};

void Draw(SDL_Renderer* renderer, const Scene& scene, const std::vector<Command>& frame,
          SDL_BlendMode premultiplied) {
    Pen pen;
    pen.blend = premultiplied;
    SDL_RenderSetClipRect(renderer, nullptr);
    for (const Command& c : frame) {
        const std::vector<float>& a = c.args;
        switch (c.op) {
        case 'C':
            SDL_SetRenderDrawColor(renderer, static_cast<Uint8>(a[0]), static_cast<Uint8>(a[1]),
                                   static_cast<Uint8>(a[2]), 255);
            SDL_RenderClear(renderer);
            break;
        case 'K':
            // Premultiplied, as the game's vertex colours are.
            pen.r = static_cast<Uint8>(a[0] * a[3]);
            pen.g = static_cast<Uint8>(a[1] * a[3]);
            pen.b = static_cast<Uint8>(a[2] * a[3]);
            pen.a = static_cast<Uint8>(255 * a[3]);
            break;
        case 'B':
            pen.blend = a[0] == 1 ? SDL_BLENDMODE_ADD : premultiplied;
            break;
        case 'X':
            if (a.size() == 4) {
                const SDL_Rect clip{static_cast<int>(a[0]), static_cast<int>(a[1]),
                                    static_cast<int>(a[2]), static_cast<int>(a[3])};
                SDL_RenderSetClipRect(renderer, &clip);
            } else {
                SDL_RenderSetClipRect(renderer, nullptr);
            }
            break;
        case 'M':
            for (int i = 0; i < 6; ++i)
                pen.m[i] = a[static_cast<size_t>(i)];
            break;
        case 'R': {
            const SDL_FRect rect{pen.m[0] * a[0] + pen.m[2] * a[1] + pen.m[4],
                                 pen.m[1] * a[0] + pen.m[3] * a[1] + pen.m[5], pen.m[0] * a[2],
                                 pen.m[3] * a[3]};
            SDL_SetRenderDrawBlendMode(renderer, pen.blend);
            SDL_SetRenderDrawColor(renderer, pen.r, pen.g, pen.b, pen.a);
            SDL_RenderFillRectF(renderer, &rect);
            break;
        }
        case 'Q': {
            auto found = scene.textures.find(static_cast<int>(a[0]));
            if (found == scene.textures.end())
                break;
            SDL_Texture* texture = found->second;
            const SDL_Rect src{static_cast<int>(a[1]), static_cast<int>(a[2]),
                               static_cast<int>(a[3]), static_cast<int>(a[4])};
            const float x = a[5], y = a[6];
            // Scale and translation of the transform; its rotation about the picture's corner.
            const float sx = std::hypot(pen.m[0], pen.m[1]);
            const float sy = std::hypot(pen.m[2], pen.m[3]);
            const SDL_FRect dst{pen.m[0] * x + pen.m[2] * y + pen.m[4],
                                pen.m[1] * x + pen.m[3] * y + pen.m[5], sx * a[3], sy * a[4]};
            const double angle = std::atan2(pen.m[1], pen.m[0]) * 180.0 / M_PI;
            SDL_SetTextureBlendMode(texture, pen.blend);
            SDL_SetTextureColorMod(texture, pen.r, pen.g, pen.b);
            SDL_SetTextureAlphaMod(texture, pen.a);
            const SDL_FPoint corner{0, 0};
            SDL_RenderCopyExF(renderer, texture, &src, &dst, angle, &corner, SDL_FLIP_NONE);
            break;
        }
        default:
            break;
        }
    }
}

bool WriteShot(SDL_Renderer* renderer, const char* path) {
    std::vector<unsigned char> pixels(kWidth * kHeight * 4);
    if (SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ABGR8888, pixels.data(),
                             kWidth * 4) != 0)
        return false;
    return stbi_write_png(path, kWidth, kHeight, 4, pixels.data(), kWidth * 4) != 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: sdl_peer SCENE [FRAMES [SHOT.png]]\n");
        return 2;
    }
    const int frames = argc > 2 ? std::atoi(argv[2]) : 300;
    // The same rasteriser as the game (OpenGL), with SDL's batching, which naming a driver
    // would otherwise turn off.
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "opengl");
    SDL_SetHint(SDL_HINT_RENDER_BATCHING, "1");
    SDL_SetHint(SDL_HINT_RENDER_VSYNC, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "sdl_peer: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window =
        SDL_CreateWindow("SDL2 peer", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, kWidth,
                         kHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_OPENGL);
    SDL_Renderer* renderer =
        window ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    Scene scene;
    if (!renderer || !ReadScene(argv[1], renderer, scene)) {
        std::fprintf(stderr, "sdl_peer: cannot draw '%s': %s\n", argv[1], SDL_GetError());
        return 1;
    }
    const SDL_BlendMode premultiplied = SDL_ComposeCustomBlendMode(
        SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD,
        SDL_BLENDFACTOR_ONE, SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA, SDL_BLENDOPERATION_ADD);
    auto finish = reinterpret_cast<void (*)()>(SDL_GL_GetProcAddress("glFinish"));
    // One pass unmeasured: textures are uploaded on first use.
    for (const auto& frame : scene.frames) {
        Draw(renderer, scene, frame, premultiplied);
        SDL_RenderPresent(renderer);
    }
    double process = 0, thread = 0;
    for (int i = 0; i < frames; ++i) {
        const auto& frame = scene.frames[static_cast<size_t>(i) % scene.frames.size()];
        const double p0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        const double t0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        Draw(renderer, scene, frame, premultiplied);
        SDL_RenderFlush(renderer);
        if (finish)
            finish();
        process += CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - p0;
        thread += CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - t0;
        if (i + 1 == frames && argc > 3 && !WriteShot(renderer, argv[3]))
            std::fprintf(stderr, "sdl_peer: cannot write '%s'\n", argv[3]);
        SDL_RenderPresent(renderer);
    }
    std::printf("frames %d process_ms %.4f thread_ms %.4f\n", frames, process * 1000 / frames,
                thread * 1000 / frames);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
