// The drawing module: the drawing state kept in c_GraphicsContext, handed to the render device
// (the transform lazily, just before something is drawn), and image loading and drawing.
#include "graphics/graphics.h"

#include <algorithm>
#include <cmath>

#include "files/data_path.h"
#include "graphics/image_loading.h"
#include "host/devices.h"

namespace {

constexpr float kDegreesToRadians = 0.0174532924f;
constexpr int kInitialStackFloats = 192;

// The frame an image is drawn with, or null when the draw must be skipped.
const c_Frame* DrawableFrame(const c_Image* image, int frame) {
    if (!image || !image->m_surface || !bb_graphics_renderDevice)
        return nullptr;
    return image->p_Frame(frame);
}

// Draws the frame at (x, y) (already moved by the handle) under the device's transform.
void DrawFrame(const c_Image* image, const c_Frame* f, float x, float y) {
    if (image->m_flags & c_Image::m_WholeSurface)
        bb_graphics_renderDevice->DrawSurface(image->m_surface.get(), x, y);
    else
        bb_graphics_renderDevice->DrawSurface2(image->m_surface.get(), x, y, f->m_x, f->m_y,
                                               image->m_width, image->m_height);
}

std::unique_ptr<BBGraphicsDevice> CreateGraphicsDevice() {
    auto device = std::make_unique<gxtkGraphics>();
    bb_graphics_SetGraphicsDevice(device.get());
    bb_graphics_SetFont(nullptr, 32);
    return device;
}

} // namespace

gxtkGraphics* bb_graphics_device = nullptr;
gxtkGraphics* bb_graphics_renderDevice = nullptr;
std::unique_ptr<c_GraphicsContext> bb_graphics_context = std::make_unique<c_GraphicsContext>();

c_GraphicsContext::c_GraphicsContext() : m_matrixStack(kInitialStackFloats, 0.0f) {}

void c_GraphicsContext::p_Validate() {
    if (!m_matrixDirty || !bb_graphics_renderDevice)
        return;
    bb_graphics_renderDevice->SetMatrix(m_a, m_b, m_c, m_d, m_tx, m_ty);
    m_matrixDirty = 0;
}

void c_GraphicsContext::p_TransformChanged() {
    m_transformed = !(m_a == 1 && m_b == 0 && m_c == 0 && m_d == 1 && m_tx == 0 && m_ty == 0);
    m_matrixDirty = 1;
}

void bb_graphics_Init() {
    bb_graphics_device = nullptr;
    bb_graphics_renderDevice = nullptr;
    bb_graphics_context = std::make_unique<c_GraphicsContext>();
}

void bb_graphics_InstallDevice() {
    bb_app_deviceHooks.createGraphics = &CreateGraphicsDevice;
    bb_app_deviceHooks.beginFrame = &bb_graphics_BeginRender;
    bb_app_deviceHooks.endFrame = &bb_graphics_EndRender;
    bb_app_deviceHooks.decodeImage = &gxtk_DecodeImage;
}

void bb_graphics_SetGraphicsDevice(gxtkGraphics* device) {
    bb_graphics_device = device;
}

gxtkGraphics* bb_graphics_GetGraphicsDevice() {
    return bb_graphics_device;
}

void bb_graphics_SetSharpPixels(bool sharp) {
    if (bb_graphics_device)
        bb_graphics_device->SetFiltering(sharp ? gxtkFiltering::Nearest : gxtkFiltering::Automatic);
}

void bb_graphics_BeginRender() {
    bb_graphics_renderDevice = bb_graphics_device;
    c_GraphicsContext& gc = *bb_graphics_context;
    gc.m_matrixSp = 0;
    gc.m_a = 1;
    gc.m_b = 0;
    gc.m_c = 0;
    gc.m_d = 1;
    gc.m_tx = 0;
    gc.m_ty = 0;
    gc.m_transformed = 0;
    gc.m_matrixDirty = 1;
    bb_graphics_SetColor(255, 255, 255);
    bb_graphics_SetAlpha(1);
    bb_graphics_SetBlend(0);
    // The window size the device read when its frame began: scissoring off.
    const float w = bb_graphics_device ? static_cast<float>(bb_graphics_device->Width()) : 0.0f;
    const float h = bb_graphics_device ? static_cast<float>(bb_graphics_device->Height()) : 0.0f;
    bb_graphics_SetScissor(0, 0, w, h);
}

void bb_graphics_EndRender() {
    bb_graphics_renderDevice = nullptr;
}

void bb_graphics_Cls(float r, float g, float b) {
    if (bb_graphics_renderDevice)
        bb_graphics_renderDevice->Cls(r, g, b);
}

void bb_graphics_SetColor(float r, float g, float b) {
    c_GraphicsContext& gc = *bb_graphics_context;
    gc.m_red = r;
    gc.m_green = g;
    gc.m_blue = b;
    if (bb_graphics_renderDevice)
        bb_graphics_renderDevice->SetColor(r, g, b);
}

void bb_graphics_SetAlpha(float alpha) {
    bb_graphics_context->m_alpha = alpha;
    if (bb_graphics_renderDevice)
        bb_graphics_renderDevice->SetAlpha(alpha);
}

void bb_graphics_SetBlend(int blend) {
    bb_graphics_context->m_blend = blend;
    if (bb_graphics_renderDevice)
        bb_graphics_renderDevice->SetBlend(blend);
}

void bb_graphics_SetScissor(float x, float y, float w, float h) {
    c_GraphicsContext& gc = *bb_graphics_context;
    gc.m_scissorX = x;
    gc.m_scissorY = y;
    gc.m_scissorWidth = w;
    gc.m_scissorHeight = h;
    if (bb_graphics_renderDevice)
        bb_graphics_renderDevice->SetScissor(static_cast<int>(x), static_cast<int>(y),
                                             static_cast<int>(w), static_cast<int>(h));
}

void bb_graphics_SetMatrix(float a, float b, float c, float d, float tx, float ty) {
    c_GraphicsContext& gc = *bb_graphics_context;
    gc.m_a = a;
    gc.m_b = b;
    gc.m_c = c;
    gc.m_d = d;
    gc.m_tx = tx;
    gc.m_ty = ty;
    gc.p_TransformChanged();
}

void bb_graphics_SetMatrix2(std::span<const float> m) {
    if (m.size() < 6)
        return;
    bb_graphics_SetMatrix(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void bb_graphics_Transform(float a, float b, float c, float d, float tx, float ty) {
    const c_GraphicsContext& gc = *bb_graphics_context;
    bb_graphics_SetMatrix(gc.m_a * a + gc.m_c * b, gc.m_b * a + gc.m_d * b, gc.m_a * c + gc.m_c * d,
                          gc.m_b * c + gc.m_d * d, gc.m_a * tx + gc.m_c * ty + gc.m_tx,
                          gc.m_b * tx + gc.m_d * ty + gc.m_ty);
}

void bb_graphics_Transform2(std::span<const float> m) {
    if (m.size() < 6)
        return;
    bb_graphics_Transform(m[0], m[1], m[2], m[3], m[4], m[5]);
}

void bb_graphics_Translate(float x, float y) {
    bb_graphics_Transform(1, 0, 0, 1, x, y);
}

void bb_graphics_Scale(float sx, float sy) {
    bb_graphics_Transform(sx, 0, 0, sy, 0, 0);
}

void bb_graphics_Rotate(float degrees) {
    const float r = degrees * kDegreesToRadians;
    const float c = std::cos(r);
    const float s = std::sin(r);
    bb_graphics_Transform(c, -s, s, c, 0, 0);
}

void bb_graphics_PushMatrix() {
    c_GraphicsContext& gc = *bb_graphics_context;
    auto sp = static_cast<size_t>(gc.m_matrixSp);
    if (sp + 6 > gc.m_matrixStack.size())
        gc.m_matrixStack.resize(std::max<size_t>(gc.m_matrixStack.size() * 2, sp + 6), 0.0f);
    float* top = &gc.m_matrixStack[sp];
    top[0] = gc.m_a;
    top[1] = gc.m_b;
    top[2] = gc.m_c;
    top[3] = gc.m_d;
    top[4] = gc.m_tx;
    top[5] = gc.m_ty;
    gc.m_matrixSp += 6;
}

void bb_graphics_PopMatrix() {
    c_GraphicsContext& gc = *bb_graphics_context;
    if (gc.m_matrixSp < 6)
        return;
    gc.m_matrixSp -= 6;
    const float* top = &gc.m_matrixStack[static_cast<size_t>(gc.m_matrixSp)];
    bb_graphics_SetMatrix(top[0], top[1], top[2], top[3], top[4], top[5]);
}

void bb_graphics_SetFont(c_Image* font, int firstChar) {
    c_GraphicsContext& gc = *bb_graphics_context;
    if (!font) {
        if (!gc.m_defaultFont)
            gc.m_defaultFont =
                bb_graphics_LoadImage(bb_graphics_defaultFontPath, 96, c_Image::m_PaddedX);
        font = gc.m_defaultFont.get();
        firstChar = 32;
    }
    gc.m_font = font;
    gc.m_firstChar = firstChar;
}

void bb_graphics_DrawImage(c_Image* image, float x, float y, int frame) {
    const c_Frame* f = DrawableFrame(image, frame);
    if (!f)
        return;
    bb_graphics_context->p_Validate();
    DrawFrame(image, f, x - image->m_handleX, y - image->m_handleY);
}

void bb_graphics_DrawImage2(c_Image* image, float x, float y, float rotation, float scaleX,
                            float scaleY, int frame) {
    const c_Frame* f = DrawableFrame(image, frame);
    if (!f)
        return;
    bb_graphics_PushMatrix();
    bb_graphics_Translate(x, y);
    bb_graphics_Rotate(rotation);
    bb_graphics_Scale(scaleX, scaleY);
    bb_graphics_Translate(-image->m_handleX, -image->m_handleY);
    bb_graphics_context->p_Validate();
    DrawFrame(image, f, 0, 0);
    bb_graphics_PopMatrix();
}

void bb_graphics_DrawRect(float x, float y, float w, float h) {
    if (!bb_graphics_renderDevice)
        return;
    bb_graphics_context->p_Validate();
    bb_graphics_renderDevice->DrawRect(x, y, w, h);
}

namespace {

std::shared_ptr<gxtkSurface> LoadSurface(const String& path) {
    if (!bb_graphics_device)
        return nullptr;
    return bb_graphics_device->LoadSurface(bb_data_FixDataPath(path));
}

} // namespace

std::unique_ptr<c_Image> bb_graphics_LoadImage(const String& path, int frameCount, int flags) {
    auto surface = LoadSurface(path);
    if (!surface)
        return nullptr;
    auto image = c_Image::m_new();
    image->p_Init(std::move(surface), frameCount, flags);
    return image;
}

std::unique_ptr<c_Image> bb_graphics_LoadImage2(const String& path, int frameWidth, int frameHeight,
                                                int frameCount, int flags) {
    auto surface = LoadSurface(path);
    if (!surface)
        return nullptr;
    const int w = surface->Width();
    const int h = surface->Height();
    auto image = c_Image::m_new();
    image->p_Init2(std::move(surface), 0, 0, frameWidth, frameHeight, frameCount, flags, nullptr, 0,
                   0, w, h);
    return image;
}
