// The menu pages' heading, and the status line, banners and pause notice drawn by the road, ski
// and no-money screens.
#include "screens/screen_furniture.h"

#include "game/tazzle.h"
#include "graphics/graphics.h"
#include "graphics/virtual_display.h"
#include "text/text.h"

namespace {

// Numbers are right-aligned so that their last character ends before column `endColumn`
// (in 16-pixel characters).
void DrawNumber(int value, int endColumn) {
    String digits = bb_itos(value);
    int x = (endColumn - static_cast<int>(digits.size())) * 16;
    bb_text_spectrumText->p_Draw(digits, x, 48, 0, 0, 0);
}

void DrawBar(float x, float y, float w, float h) {
    bb_graphics_SetColor(255, 255, 255);
    bb_graphics_DrawRect(x, y, w, h);
}

} // namespace

void bb_furniture_DrawMenuHeading(const String& heading) {
    bb_graphics_Cls(170, 170, 170);
    bb_graphics_SetColor(170, 170, 0);
    bb_graphics_DrawRect(200, 64, 240, 16);
    bb_text_spectrumText->p_Draw(heading, 200, 64, 170, 0, 0);
}

void bb_furniture_DrawStatusLine() {
    c_Text& text = *bb_text_spectrumText;
    text.p_Draw(u"CASH $", 64, 48, 0, 0, 0);
    if (bb_tazzle_money < 0)
        text.p_Draw(u"0", 192, 48, 0, 0, 0);
    else
        DrawNumber(bb_tazzle_money, 13);
    text.p_Draw(u"SCORE", 240, 48, 0, 0, 0);
    DrawNumber(bb_tazzle_score, 26);
    text.p_Draw(u"HI", 448, 48, 0, 0, 0);
    DrawNumber(bb_tazzle_hiScore, 36);
}

void bb_furniture_DrawBanner(const String& message, float r, float g, float b) {
    DrawBar(128, 64, 384, 16);
    bb_text_spectrumText->p_DrawFlashing(message, 128, 64, r, g, b);
}

void bb_furniture_DrawPausedNotice() {
    DrawBar(208, 232, 224, 16);
    bb_text_spectrumText->p_DrawFlashing(u"*** PAUSED ***", 208, 232, 0, 0, 170);
}

void bb_furniture_ClipToPlayArea() {
    bb_autofit_SetVScissor(64, 48, 512, 384);
}
