// Builds the stb_image decoder into the web build. The desktop links the stb package's own
// compiled library; the browser has none, so the same header, with the same default set of
// formats, is compiled here.
#define STB_IMAGE_IMPLEMENTATION
#include <stb_image.h>
