// The drawing module game code calls: the drawing state (transform, colour, alpha, blend,
// scissor, matrix stack, font) over the renderer device, and image loading and drawing.
#pragma once

#include <memory>
#include <span>
#include <vector>

#include "graphics/gxtk_graphics.h"
#include "graphics/image.h"
#include "runtime/string.h"

class c_GraphicsContext {
public:
    c_GraphicsContext();

    // Hands the current transform to the render device if it changed since it last did.
    void p_Validate();
    // Recomputes m_transformed after a change of the transform and marks it for the device.
    void p_TransformChanged();

    std::unique_ptr<c_Image> m_defaultFont; // loaded by bb_graphics_SetFont when given none
    c_Image* m_font = nullptr;
    int m_firstChar = 0;
    int m_matrixSp = 0; // floats in use on the matrix stack, six per pushed transform
    float m_a = 1, m_b = 0, m_c = 0, m_d = 1, m_tx = 0, m_ty = 0;
    int m_transformed = 0;
    int m_matrixDirty = 0;
    float m_red = 0, m_green = 0, m_blue = 0;
    float m_alpha = 0;
    int m_blend = 0;
    float m_scissorX = 0, m_scissorY = 0, m_scissorWidth = 0, m_scissorHeight = 0;
    std::vector<float> m_matrixStack; // 192 floats at first; doubles when full
};

// The renderer device, set once when the game starts.
extern gxtkGraphics* bb_graphics_device;
// Equal to the device inside a rendered frame, null outside one. State setters still store their
// values outside a frame; draw calls are skipped there.
extern gxtkGraphics* bb_graphics_renderDevice;
// The drawing state; never null.
extern std::unique_ptr<c_GraphicsContext> bb_graphics_context;

// Gives the drawing module a fresh drawing state (program start, and tests).
void bb_graphics_Init();
// Fills the host's device hooks: creating the renderer (which publishes it and sets the default
// font), starting a frame and ending it.
void bb_graphics_InstallDevice();

void bb_graphics_SetGraphicsDevice(gxtkGraphics* device);
gxtkGraphics* bb_graphics_GetGraphicsDevice();
// The player's choice of sharp pixels: nearest sampling at every scale; otherwise the renderer
// chooses (smooth when the picture is scaled). Kept by the device, so it lasts across frames.
void bb_graphics_SetSharpPixels(bool sharp);

// Starts a frame: publishes the render device and resets transform, colour, alpha, blend and
// scissor (scissoring off).
void bb_graphics_BeginRender();
void bb_graphics_EndRender();

void bb_graphics_Cls(float r, float g, float b);
void bb_graphics_SetColor(float r, float g, float b);
void bb_graphics_SetAlpha(float alpha);
void bb_graphics_SetBlend(int blend);
void bb_graphics_SetScissor(float x, float y, float w, float h);

void bb_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty);
void bb_graphics_SetMatrix2(std::span<const float> m);
// Multiplies the current transform by the given one: the given one applies to points first.
void bb_graphics_Transform(float a, float b, float c, float d, float tx, float ty);
void bb_graphics_Transform2(std::span<const float> m);
void bb_graphics_Translate(float x, float y);
void bb_graphics_Scale(float sx, float sy);
void bb_graphics_Rotate(float degrees);
void bb_graphics_PushMatrix();
// A pop without a matching push leaves the transform as it is.
void bb_graphics_PopMatrix();

// The default font's image file.
inline constexpr const char16_t* bb_graphics_defaultFontPath = u"plim_font.png";
// With a null font, uses (loading it on first use) the default font, 96 frames, first char 32.
void bb_graphics_SetFont(c_Image* font, int firstChar);

// Draws one frame with its handle at (x, y). A null image or a frame the image does not have
// draws nothing.
void bb_graphics_DrawImage(c_Image* image, float x, float y, int frame);
// The same, rotated by rotation degrees and scaled about the handle.
void bb_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                            float scaleY, int frame);
void bb_graphics_DrawRect(float x, float y, float w, float h);

// Null when the surface cannot be loaded. The path goes through the data-path fixer first.
std::unique_ptr<c_Image> bb_graphics_LoadImage(const String& path, int frameCount, int flags);
std::unique_ptr<c_Image> bb_graphics_LoadImage2(const String& path, int frameWidth, int frameHeight,
                                                int frameCount, int flags);
