// RecordingGraphics: the game's renderer, its drawing calls also written out as text.
#include "draw_recorder.h"

#include "graphics/graphics.h"
#include "host/bb_game.h"

#include <filesystem>

RecordingGraphics* RecordingGraphics::current = nullptr;

std::unique_ptr<BBGraphicsDevice> RecordingGraphics::Make() {
    auto device = std::make_unique<RecordingGraphics>();
    current = device.get();
    bb_graphics_SetGraphicsDevice(device.get());
    bb_graphics_SetFont(nullptr, 32);
    return device;
}

RecordingGraphics::~RecordingGraphics() {
    Stop();
    if (current == this)
        current = nullptr;
}

bool RecordingGraphics::Record(const std::string& path) {
    Stop();
    _out = std::fopen(path.c_str(), "w");
    _ids.clear();
    _unrecorded = 0;
    return _out != nullptr;
}

void RecordingGraphics::Stop() {
    if (_out)
        std::fclose(_out);
    _out = nullptr;
}

int RecordingGraphics::BeginRender() {
    if (_out)
        std::fputs("F\n", _out);
    return gxtkGraphics::BeginRender();
}

bool RecordingGraphics::LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) {
    std::string file = bb_utf8_Encode(BBGame::_game->PathToFilePath(path));
    std::error_code error;
    file = std::filesystem::absolute(file, error).string();
    {
        std::lock_guard lock(_pathsMutex);
        _paths[surface] = file;
    }
    return gxtkGraphics::LoadSurface__UNSAFE__(surface, path);
}

std::shared_ptr<gxtkSurface> RecordingGraphics::CreateSurface(int width, int height) {
    auto surface = gxtkGraphics::CreateSurface(width, height);
    std::lock_guard lock(_pathsMutex);
    _paths[surface.get()] = "-";
    return surface;
}

int RecordingGraphics::SurfaceId(gxtkSurface* surface) {
    auto found = _ids.find(surface);
    if (found != _ids.end())
        return found->second;
    const int id = static_cast<int>(_ids.size());
    _ids[surface] = id;
    std::string path = "-";
    {
        std::lock_guard lock(_pathsMutex);
        if (auto known = _paths.find(surface); known != _paths.end())
            path = known->second;
    }
    std::fprintf(_out, "S %d %d %d %s\n", id, surface->Width(), surface->Height(), path.c_str());
    return id;
}

void RecordingGraphics::WriteColour() {
    if (_out)
        std::fprintf(_out, "K %g %g %g %g\n", _r, _g, _b, _alpha);
}

int RecordingGraphics::Cls(float r, float g, float b) {
    if (_out)
        std::fprintf(_out, "C %g %g %g\n", r, g, b);
    return gxtkGraphics::Cls(r, g, b);
}

int RecordingGraphics::SetAlpha(float alpha) {
    _alpha = alpha;
    WriteColour();
    return gxtkGraphics::SetAlpha(alpha);
}

int RecordingGraphics::SetColor(float r, float g, float b) {
    _r = r;
    _g = g;
    _b = b;
    WriteColour();
    return gxtkGraphics::SetColor(r, g, b);
}

int RecordingGraphics::SetBlend(int blend) {
    if (_out)
        std::fprintf(_out, "B %d\n", blend);
    return gxtkGraphics::SetBlend(blend);
}

int RecordingGraphics::SetScissor(int x, int y, int w, int h) {
    if (_out) {
        if (x == 0 && y == 0 && w == Width() && h == Height())
            std::fputs("X -\n", _out);
        else
            std::fprintf(_out, "X %d %d %d %d\n", x, y, w, h);
    }
    return gxtkGraphics::SetScissor(x, y, w, h);
}

int RecordingGraphics::SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    if (_out)
        std::fprintf(_out, "M %g %g %g %g %g %g\n", a, b, c, d, tx, ty);
    return gxtkGraphics::SetMatrix(a, b, c, d, tx, ty);
}

int RecordingGraphics::DrawRect(float x, float y, float w, float h) {
    if (_out)
        std::fprintf(_out, "R %g %g %g %g\n", x, y, w, h);
    return gxtkGraphics::DrawRect(x, y, w, h);
}

int RecordingGraphics::DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy,
                                    int srcw, int srch) {
    if (_out && surface)
        std::fprintf(_out, "Q %d %d %d %d %d %g %g\n", SurfaceId(surface), srcx, srcy, srcw, srch,
                     x, y);
    return gxtkGraphics::DrawSurface2(surface, x, y, srcx, srcy, srcw, srch);
}

int RecordingGraphics::DrawPoint(float x, float y) {
    _unrecorded += _out ? 1 : 0;
    return gxtkGraphics::DrawPoint(x, y);
}

int RecordingGraphics::DrawLine(float x1, float y1, float x2, float y2) {
    _unrecorded += _out ? 1 : 0;
    return gxtkGraphics::DrawLine(x1, y1, x2, y2);
}

int RecordingGraphics::DrawOval(float x, float y, float w, float h) {
    _unrecorded += _out ? 1 : 0;
    return gxtkGraphics::DrawOval(x, y, w, h);
}

int RecordingGraphics::DrawPoly(std::span<const float> xy) {
    _unrecorded += _out ? 1 : 0;
    return gxtkGraphics::DrawPoly(xy);
}

int RecordingGraphics::DrawPoly2(std::span<const float> xyuv, gxtkSurface* surface, int srcx,
                                 int srcy) {
    _unrecorded += _out ? 1 : 0;
    return gxtkGraphics::DrawPoly2(xyuv, surface, srcx, srcy);
}
