// The fade: seven band sequences of 16 updates each, the woop at a falling rate, and the pause
// notice drawn over the owner's picture.

#include "screens/fade.h"

#include "audio/audio.h"
#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "loading/game_sounds.h"
#include "screens/screen_furniture.h"

namespace {

constexpr c_FadeColour kNormalOrder[c_Fade::m_Steps] = {
    {170, 170, 170}, {170, 170, 0}, {0, 170, 170}, {0, 170, 0},
    {170, 0, 170},   {170, 0, 0},   {0, 0, 170}};
constexpr c_FadeColour kReversedOrder[c_Fade::m_Steps] = {
    {0, 0, 170},   {170, 0, 0},   {170, 0, 170},  {0, 170, 0},
    {0, 170, 170}, {170, 170, 0}, {170, 170, 170}};

constexpr float kRateFall = 0.04f;

void StartWoop(int step) {
    bb_audio_SetChannelRate(c_Fade::m_WoopChannel, 1.0f - static_cast<float>(step) * kRateFall);
    c_GameSounds* sounds = bb_gamesounds_gameSounds.get();
    if (sounds && sounds->m_woop && sounds->m_woop->m_sample) {
        bb_audio_PlaySound(sounds->m_woop.get(), c_Fade::m_WoopChannel, 0);
    }
}

} // namespace

c_FadeColour c_Fade::p_BandColour(int step) const {
    return m_reversed ? kReversedOrder[step] : kNormalOrder[step];
}

bool c_Fade::p_OnUpdate() {
    if (!bb_tazzle_paused) {
        if (m_thickness == 0)
            StartWoop(m_step);
        m_thickness += m_ThicknessStep;
    }
    if (m_thickness > m_FullThickness) {
        m_thickness = 0;
        ++m_step;
    }
    if (m_step < m_Steps)
        return true;
    p_Reset();
    return false;
}

void c_Fade::p_Reset() {
    m_step = 0;
    m_thickness = 0;
    bb_audio_SetChannelRate(m_WoopChannel, 1.0f);
}

void c_Fade::p_OnRender() {
    if (m_step > 0) {
        c_FadeColour previous = p_BandColour(m_step - 1);
        bb_graphics_Cls(previous.r, previous.g, previous.b);
    }
    c_FadeColour band = p_BandColour(m_step);
    bb_graphics_SetColor(band.r, band.g, band.b);
    float t = static_cast<float>(m_thickness);
    bb_graphics_DrawRect(0, 0, 640, t);
    bb_graphics_DrawRect(0, 479 - t, 640, t + 1);
    bb_graphics_DrawRect(0, 0, t, 480);
    bb_graphics_DrawRect(639 - t, 0, t + 1, 480);
    bb_graphics_SetColor(255, 255, 255);
    if (bb_tazzle_paused)
        bb_furniture_DrawPausedNotice();
}
