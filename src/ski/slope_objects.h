// The things that scroll up the ski slope: trees, moguls, gate flags and the finish banner.
#pragma once

struct c_Tree {
    int m_x = 0;
    int m_y = 0;
};

struct c_Bump {
    int m_y = 0;
    int m_x = 0;
};

// m_x is the left (red) post; the right post stands further right by the gate's width.
struct c_Flag {
    int m_y = 0;
    int m_x = 0;
    int m_id = 0;
};

struct c_Finish {
    int m_x = 0;
    int m_y = 0;
};
