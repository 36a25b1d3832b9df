// The virtual screen fitted into the window: scale, letterbox bands, clip rectangle, the per-frame
// clear/clip/transform and the mapping of window positions back into virtual units.
#include "graphics/virtual_display.h"

#include <algorithm>

#include "graphics/graphics.h"
#include "input/input_device.h"

std::unique_ptr<c_VirtualDisplay> c_VirtualDisplay::m_Display;

namespace {

int WindowWidth() {
    return bb_graphics_device ? bb_graphics_device->Width() : 0;
}
int WindowHeight() {
    return bb_graphics_device ? bb_graphics_device->Height() : 0;
}

float Clamped(float v, float size, bool clamp) {
    if (!clamp)
        return v;
    if (!(v > 0))
        return 0;
    return std::min(v, size - 1);
}

} // namespace

c_VirtualDisplay* c_VirtualDisplay::m_new(int width, int height, float zoom) {
    m_Display = std::make_unique<c_VirtualDisplay>();
    m_Display->Init(width, height, zoom);
    return m_Display.get();
}

void c_VirtualDisplay::Init(int width, int height, float zoom) {
    m_virtualWidth = static_cast<float>(width);
    m_virtualHeight = static_cast<float>(height);
    m_zoom = zoom;
    m_lastZoom = zoom + 1;
    m_virtualRatio = m_virtualHeight / m_virtualWidth;
}

bool c_VirtualDisplay::ReadWindowSize() {
    const int w = WindowWidth();
    const int h = WindowHeight();
    if (w == m_lastDeviceWidth && h == m_lastDeviceHeight)
        return false;
    m_lastDeviceWidth = w;
    m_lastDeviceHeight = h;
    return true;
}

void c_VirtualDisplay::FitToWindow() {
    m_deviceWidth = static_cast<float>(m_lastDeviceWidth);
    m_deviceHeight = static_cast<float>(m_lastDeviceHeight);
    m_deviceRatio = m_deviceHeight / m_deviceWidth;
    if (m_deviceRatio > m_virtualRatio) {
        m_scale = m_deviceWidth / m_virtualWidth;
        m_borderX = 0;
        m_borderY = (m_deviceHeight - m_virtualHeight * m_scale) * 0.5f;
    } else {
        m_scale = m_deviceHeight / m_virtualHeight;
        m_borderY = 0;
        m_borderX = (m_deviceWidth - m_virtualWidth * m_scale) * 0.5f;
    }
}

void c_VirtualDisplay::ComputeClip(bool clipToZoom, bool keepLetterbox) {
    if (!clipToZoom) {
        m_clipX = m_borderX;
        m_clipY = m_borderY;
        m_clipWidth = m_deviceWidth - 2 * m_borderX;
        m_clipHeight = m_deviceHeight - 2 * m_borderY;
    } else {
        m_zoomedWidth = m_virtualWidth * m_zoom * m_scale;
        m_zoomedHeight = m_virtualHeight * m_zoom * m_scale;
        m_zoomedOffsetX = (m_deviceWidth - m_zoomedWidth) * 0.5f;
        m_zoomedOffsetY = (m_deviceHeight - m_zoomedHeight) * 0.5f;
        if (keepLetterbox) {
            m_clipX = std::max(m_zoomedOffsetX, m_borderX);
            m_clipY = std::max(m_zoomedOffsetY, m_borderY);
        } else {
            m_clipX = m_zoomedOffsetX;
            m_clipY = m_zoomedOffsetY;
        }
        m_clipWidth = m_deviceWidth - 2 * m_clipX;
        m_clipHeight = m_deviceHeight - 2 * m_clipY;
    }
    m_clipX = std::max(m_clipX, 0.0f);
    m_clipY = std::max(m_clipY, 0.0f);
    m_clipWidth = std::min(m_clipWidth, m_deviceWidth);
    m_clipHeight = std::min(m_clipHeight, m_deviceHeight);

    m_scaledWidth = m_virtualWidth * m_scale * m_zoom;
    m_scaledHeight = m_virtualHeight * m_scale * m_zoom;
    m_offsetX = ((m_deviceWidth - m_scaledWidth) * 0.5f) / m_scale / m_zoom;
    m_offsetY = ((m_deviceHeight - m_scaledHeight) * 0.5f) / m_scale / m_zoom;
}

void c_VirtualDisplay::p_UpdateVirtualDisplay(bool clipToZoom, bool keepLetterbox) {
    // A zero-sized window (minimised) or screen has nothing to fit: keep the last fit.
    const bool usable = WindowWidth() > 0 && WindowHeight() > 0 && m_virtualWidth > 0 &&
                        m_virtualHeight > 0 && m_zoom != 0;
    if (usable) {
        if (ReadWindowSize()) {
            m_deviceChanged = 1;
            FitToWindow();
        }
        if (m_zoom != m_lastZoom) {
            m_lastZoom = m_zoom;
            m_zoomChanged = 1;
        }
        if (m_deviceChanged || m_zoomChanged) {
            ComputeClip(clipToZoom, keepLetterbox);
            m_deviceChanged = 0;
            m_zoomChanged = 0;
        }
    }

    ApplyScissor(0, 0, m_deviceWidth, m_deviceHeight);
    bb_graphics_Cls(0, 0, 0);
    ApplyScissor(m_clipX, m_clipY, m_clipWidth, m_clipHeight);
    bb_graphics_Transform(m_scale * m_zoom, 0, 0, m_scale * m_zoom, 0, 0);
    if (m_zoom != 0)
        bb_graphics_Transform(1, 0, 0, 1, m_offsetX, m_offsetY);
}

void c_VirtualDisplay::ApplyScissor(float x, float y, float w, float h) {
    bb_graphics_SetScissor(x, y, w, h);
}

void c_VirtualDisplay::p_SetVScissor(float x, float y, float w, float h) {
    const float sx = m_scaledWidth / m_virtualWidth;
    const float sy = m_scaledHeight / m_virtualHeight;
    ApplyScissor(std::max(m_clipX, m_clipX + x * sx), std::max(m_clipY, m_clipY + y * sy),
                 w * sx + 0.5f, h * sy + 0.5f);
}

void c_VirtualDisplay::p_UnsetVScissor() {
    ApplyScissor(m_clipX, m_clipY, m_clipWidth, m_clipHeight);
}

float c_VirtualDisplay::p_VirtualX(float windowX, bool clamp) const {
    // Before the first fit there is no scale: positions pass through unchanged.
    if (m_scale <= 0 || m_zoom == 0)
        return Clamped(windowX, m_virtualWidth, clamp);
    const float vx = (windowX - m_deviceWidth * 0.5f) / m_scale / m_zoom + m_virtualWidth * 0.5f;
    return Clamped(vx, m_virtualWidth, clamp);
}

float c_VirtualDisplay::p_VirtualY(float windowY, bool clamp) const {
    if (m_scale <= 0 || m_zoom == 0)
        return Clamped(windowY, m_virtualHeight, clamp);
    const float vy = (windowY - m_deviceHeight * 0.5f) / m_scale / m_zoom + m_virtualHeight * 0.5f;
    return Clamped(vy, m_virtualHeight, clamp);
}

float c_VirtualDisplay::p_WindowX(float virtualX) const {
    if (m_scale <= 0 || m_zoom == 0)
        return virtualX;
    return (virtualX - m_virtualWidth * 0.5f) * m_zoom * m_scale + m_deviceWidth * 0.5f;
}

float c_VirtualDisplay::p_WindowY(float virtualY) const {
    if (m_scale <= 0 || m_zoom == 0)
        return virtualY;
    return (virtualY - m_virtualHeight * 0.5f) * m_zoom * m_scale + m_deviceHeight * 0.5f;
}

float c_VirtualDisplay::p_VTouchX(int index, bool clamp) {
    return p_VirtualX(bb_input_TouchX(index), clamp);
}

float c_VirtualDisplay::p_VTouchY(int index, bool clamp) {
    return p_VirtualY(bb_input_TouchY(index), clamp);
}

void bb_autofit_SetVirtualDisplay(int width, int height, float zoom) {
    c_VirtualDisplay::m_new(width, height, zoom);
}

void bb_autofit_UpdateVirtualDisplay(bool clipToZoom, bool keepLetterbox) {
    if (c_VirtualDisplay::m_Display)
        c_VirtualDisplay::m_Display->p_UpdateVirtualDisplay(clipToZoom, keepLetterbox);
}

void bb_autofit_SetVScissor(float x, float y, float w, float h) {
    if (c_VirtualDisplay::m_Display)
        c_VirtualDisplay::m_Display->p_SetVScissor(x, y, w, h);
}

void bb_autofit_UnsetVScissor() {
    if (c_VirtualDisplay::m_Display)
        c_VirtualDisplay::m_Display->p_UnsetVScissor();
}

float bb_autofit_VTouchX(int index, bool clamp) {
    return c_VirtualDisplay::m_Display ? c_VirtualDisplay::m_Display->p_VTouchX(index, clamp) : 0;
}

float bb_autofit_VTouchY(int index, bool clamp) {
    return c_VirtualDisplay::m_Display ? c_VirtualDisplay::m_Display->p_VTouchY(index, clamp) : 0;
}

float bb_autofit_VDeviceWidth() {
    return c_VirtualDisplay::m_Display ? c_VirtualDisplay::m_Display->m_virtualWidth : 0;
}

float bb_autofit_VDeviceHeight() {
    return c_VirtualDisplay::m_Display ? c_VirtualDisplay::m_Display->m_virtualHeight : 0;
}

void bb_autofit_Init() {
    c_VirtualDisplay::m_Display.reset();
}
