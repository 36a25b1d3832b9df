// A fragment program whose colour is the texel alone, for batches drawn in plain white. It gives
// what the fixed-function texture environment gives (the texel times white is the texel), but a
// software rasteriser (Mesa's llvmpipe) draws a screen-aligned quad of it a row at a time,
// copying or blending whole rows, where the fixed-function texture environment costs it a
// general shader per pixel.
#pragma once

#include <GL/gl.h>

// True for desktop OpenGL in the current context (not OpenGL ES, not a page's WebGL).
bool gxtk_DesktopOpenGL();

class gxtkTexelProgram {
public:
    gxtkTexelProgram() = default;
    ~gxtkTexelProgram();
    gxtkTexelProgram(const gxtkTexelProgram&) = delete;
    gxtkTexelProgram& operator=(const gxtkTexelProgram&) = delete;

    // Draws with the program from now on, or with the fixed-function pipeline again. The program
    // is made once for each context; where OpenGL cannot make it (OpenGL ES, a page's WebGL, a
    // driver without ARB fragment programs), Use(true) does nothing and returns false.
    bool Use(bool on);

private:
    bool Ready();

    GLuint program = 0;
    int seq = -1; // the context the program belongs to
    bool failed = false;
    bool inUse = false;
};
