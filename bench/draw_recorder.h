// The game's renderer with a recorder on its drawing calls: while recording, every frame's clears,
// colours, blends, clips, transforms, rectangles and picture quads are written as text lines
// that the SDL2 peer (bench/sdl_peer.cpp) replays with the same pictures. Bench use only.
#pragma once

#include "graphics/gxtk_graphics.h"

#include <cstdio>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>

// Lines written, one a command:
//   S id width height path   a picture (path "-": a surface made without a file)
//   F                        a frame starts
//   C r g b                  clear (0..255)
//   K r g b alpha            colour (0..255) and alpha (0..1) for what follows
//   B blend                  0 alpha blending, 1 additive
//   X x y w h                clip rectangle (the whole window: none)
//   M a b c d tx ty          transform of what follows
//   Q id sx sy sw sh x y     the picture's source rectangle drawn at (x, y)
//   R x y w h                a filled rectangle
// Points, lines, ovals and polygons are counted, not written (the game draws none).
class RecordingGraphics : public gxtkGraphics {
public:
    // The device recording goes to (one at a time); null when none was made.
    static RecordingGraphics* current;
    // A factory for BenchGame: makes the device and publishes it as the game's renderer.
    static std::unique_ptr<BBGraphicsDevice> Make();

    ~RecordingGraphics() override;

    // Starts writing to `path` (true when it could be opened); Stop closes it.
    bool Record(const std::string& path);
    void Stop();
    int Unrecorded() const { return _unrecorded; }

    int BeginRender() override;
    bool LoadSurface__UNSAFE__(gxtkSurface* surface, const String& path) override;
    std::shared_ptr<gxtkSurface> CreateSurface(int width, int height) override;
    int Cls(float r, float g, float b) override;
    int SetAlpha(float alpha) override;
    int SetColor(float r, float g, float b) override;
    int SetBlend(int blend) override;
    int SetScissor(int x, int y, int w, int h) override;
    int SetMatrix(float a, float b, float c, float d, float tx, float ty) override;
    int DrawRect(float x, float y, float w, float h) override;
    int DrawSurface2(gxtkSurface* surface, float x, float y, int srcx, int srcy, int srcw,
                     int srch) override;
    int DrawPoint(float x, float y) override;
    int DrawLine(float x1, float y1, float x2, float y2) override;
    int DrawOval(float x, float y, float w, float h) override;
    int DrawPoly(std::span<const float> xy) override;
    int DrawPoly2(std::span<const float> xyuv, gxtkSurface* surface, int srcx, int srcy) override;

private:
    void WriteColour();
    // The surface's id, writing its S line the first time it is drawn in this recording.
    int SurfaceId(gxtkSurface* surface);

    std::FILE* _out = nullptr;
    float _r = 0, _g = 0, _b = 0, _alpha = 0;
    int _unrecorded = 0;
    std::mutex _pathsMutex; // loader threads decode pictures
    std::map<const gxtkSurface*, std::string> _paths;
    std::map<const gxtkSurface*, int> _ids;
};
