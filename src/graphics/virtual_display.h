// The fixed 640 x 480 virtual screen fitted into the window: the largest uniform scale, centred,
// with black bands, clipping, pointer mapping and clip rectangles given in virtual units.
#pragma once

#include <memory>

// The virtual screen the game draws on, in virtual units.
constexpr int kVirtualScreenWidth = 640;
constexpr int kVirtualScreenHeight = 480;

class c_VirtualDisplay {
public:
    // The instance the bb_autofit_* functions use.
    static std::unique_ptr<c_VirtualDisplay> m_Display;

    // Creates an instance and makes it m_Display.
    static c_VirtualDisplay* m_new(int width, int height, float zoom);

    // Once per rendered frame, after bb_graphics_BeginRender and before anything is drawn:
    // recomputes the fit when the window size or the zoom changed, then clears the window to
    // black, clips to the picture and sets the transform to virtual units. A window of zero size
    // (minimised) keeps the last fit.
    void p_UpdateVirtualDisplay(bool clipToZoom, bool keepLetterbox);
    // Clips drawing to a rectangle in virtual units.
    void p_SetVScissor(float x, float y, float w, float h);
    // Restores the clip rectangle of the last update.
    void p_UnsetVScissor();
    // Pointer number index (0 to 31) in virtual units; with clamp, kept inside the screen.
    float p_VTouchX(int index, bool clamp);
    float p_VTouchY(int index, bool clamp);
    // A window position in virtual units, mapped about the window centre as the pointer is.
    float p_VirtualX(float windowX, bool clamp) const;
    float p_VirtualY(float windowY, bool clamp) const;
    // The window position that p_VirtualX and p_VirtualY (unclamped) take to a virtual one.
    float p_WindowX(float virtualX) const;
    float p_WindowY(float virtualY) const;

    float m_virtualWidth = 0;
    float m_virtualHeight = 0;
    float m_zoom = 0;
    float m_lastZoom = 0;
    float m_virtualRatio = 0;
    float m_scale = 0;
    int m_lastDeviceWidth = 0;
    int m_lastDeviceHeight = 0;
    int m_deviceChanged = 0;
    float m_deviceWidth = 0;
    float m_deviceHeight = 0;
    float m_deviceRatio = 0;
    float m_borderY = 0;
    float m_borderX = 0;
    int m_zoomChanged = 0;
    float m_zoomedWidth = 0;
    float m_zoomedHeight = 0;
    float m_zoomedOffsetX = 0;
    float m_zoomedOffsetY = 0;
    float m_clipX = 0;
    float m_clipWidth = 0;
    float m_clipY = 0;
    float m_clipHeight = 0;
    float m_scaledWidth = 0;
    float m_scaledHeight = 0;
    float m_offsetX = 0;
    float m_offsetY = 0;

private:
    void Init(int width, int height, float zoom);
    bool ReadWindowSize();
    void FitToWindow();
    void ComputeClip(bool clipToZoom, bool keepLetterbox);
    void ApplyScissor(float x, float y, float w, float h);
};

void bb_autofit_SetVirtualDisplay(int width, int height, float zoom);
void bb_autofit_UpdateVirtualDisplay(bool clipToZoom, bool keepLetterbox);
void bb_autofit_SetVScissor(float x, float y, float w, float h);
void bb_autofit_UnsetVScissor();
float bb_autofit_VTouchX(int index, bool clamp);
float bb_autofit_VTouchY(int index, bool clamp);
float bb_autofit_VDeviceWidth();
float bb_autofit_VDeviceHeight();
// Forgets the instance (program start, and tests).
void bb_autofit_Init();
