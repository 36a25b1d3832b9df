// Builds the stb PNG writer into the web replay tool. The desktop links the stb package's own
// compiled library; the browser has none, so the header is compiled here.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb_image_write.h>
