// Builds the stb_image decoder into the web build. The desktop links the stb package's own
// compiled library; the browser has none, so the same header is compiled here, with PNG alone:
// the page's data holds no other kind of picture, and the other decoders would be a quarter of
// the program's download.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#include <stb_image.h>
