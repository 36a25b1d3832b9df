// The walker's sprites and masks: one pose for every direction, with or without skis, in either
// walking frame, alive or run over.
#pragma once

class c_Image;
class c_MasterMask;

// The values of c_RoadScreen::m_direction.
struct c_WalkerDirection {
    static constexpr int Left = 0;
    static constexpr int Right = 1;
    static constexpr int Down = 2;
    static constexpr int Up = 3;
};

// Any direction beyond Down counts as Up; any frame but 0 as the second frame.
c_Image* bb_walker_Image(int direction, bool skis, int frame);
c_Image* bb_walker_DeadImage(int direction, bool skis, int frame);
c_MasterMask* bb_walker_Mask(int direction, bool skis, int frame);
