// Operating-system stand-ins for the host in the web browser: the program folder is the root of
// the page's file system, the frame loop never sleeps, and a URL opens in a new tab.
#include "host/platform.h"

#include <emscripten/emscripten.h>

#include <string>

namespace {

// The URL arrives as a string argument, never spliced into script text; the new tab gets no
// handle back on the game's page.
EM_JS(int, bb_platform_OpenTab, (const char* url), {
    var tab = window.open(UTF8ToString(url), "_blank");
    if (tab)
        tab.opener = null;
    return tab ? 1 : 0;
});

} // namespace

const String& bb_platform_ProgramDirectory() {
    // The data is packed as /data, so "zibbet://data/x" maps to "/data/x".
    static const String dir;
    return dir;
}

void bb_platform_SleepMillis(int) {
    // A page must hand control back to the browser to wait: the animation frame paces the loop.
}

bool bb_platform_OpenUrl(const String& url) {
    const std::string utf8 = bb_utf8_Encode(url);
    return bb_platform_OpenTab(utf8.c_str()) != 0;
}
