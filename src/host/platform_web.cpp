// The browser's side of the platform seam: the program folder is the root of the page's file
// system, nothing sleeps, detached bodies wait for a later turn of the event loop, the state
// lives in the page's local storage, and a URL opens in a new tab.
#include "host/platform.h"

#include "files/state_file.h"

#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <deque>

namespace {

// Bodies started and not yet run, oldest first.
std::deque<std::function<void()>> g_waitingBodies;

// Runs the oldest waiting body, unless RunWaitingBodies has run it already.
void RunOldestWaiting(void*) {
    if (g_waitingBodies.empty())
        return;
    const std::function<void()> body = std::move(g_waitingBodies.front());
    g_waitingBodies.pop_front();
    body();
}

// The state's bytes travel as a string of char codes 0..255, so whatever they hold comes back
// the same. Local storage writes before setItem returns: a page closed right after a save keeps
// it. A page without storage (disabled, or full) reads nothing and fails the save.
EM_JS(char*, bb_platform_ReadStorage, (const char* key), {
    var text = null;
    try {
        text = window.localStorage.getItem(UTF8ToString(key));
    } catch (e) {
    }
    if (text == null)
        return 0;
    var bytes = _malloc(text.length + 4);
    HEAPU32[bytes >> 2] = text.length;
    for (var i = 0; i < text.length; ++i)
        HEAPU8[bytes + 4 + i] = text.charCodeAt(i) & 255;
    return bytes;
});

EM_JS(int, bb_platform_WriteStorage, (const char* key, const char* bytes, int length), {
    var text = "";
    for (var i = 0; i < length; i += 4096)
        text += String.fromCharCode.apply(
            null, HEAPU8.subarray(bytes + i, bytes + Math.min(length, i + 4096)));
    try {
        window.localStorage.setItem(UTF8ToString(key), text);
        return 1;
    } catch (e) {
        return 0;
    }
});

// The URL arrives as a string argument, never spliced into script text; the new tab gets no
// handle back on the game's page.
EM_JS(int, bb_platform_OpenTab, (const char* url), {
    var tab = window.open(UTF8ToString(url), "_blank");
    if (tab)
        tab.opener = null;
    return tab ? 1 : 0;
});

// A kept run grew or ended: the page's keeper (Module.skiddlewickRunKept) takes it from here; a
// page without one keeps nothing. The path arrives as a string argument.
EM_JS(void, bb_platform_TellRunKept,
      (const char* path, int ended, int score, int level, double updates), {
          if (Module.skiddlewickRunKept)
              Module.skiddlewickRunKept(UTF8ToString(path), ended != 0, score, level, updates);
      });

// The storage key of a state file: the page's origin holds one game, the name tells its files
// apart.
std::string StorageKey(const String& fileName) {
    return "skiddlewick:" + bb_utf8_Encode(fileName);
}

} // namespace

const String& bb_platform_ProgramDirectory() {
    // The data is packed as /data, so "zibbet://data/x" maps to "/data/x".
    static const String dir;
    return dir;
}

void bb_platform_SleepMillis(int) {
    // A page must hand control back to the browser to wait: the animation frame paces the loop.
}

bool bb_platform_StartDetached(std::function<void()> body) {
    g_waitingBodies.push_back(std::move(body));
    emscripten_async_call(RunOldestWaiting, nullptr, 0);
    return true;
}

bool bb_platform_RunsBeside() {
    return false;
}

void bb_platform_RunWaitingBodies() {
    while (!g_waitingBodies.empty())
        RunOldestWaiting(nullptr);
}

String bb_platform_StateFileName() {
    // The storage key players' pages already hold their settings under.
    return bb_files_stateFileName;
}

std::string bb_platform_ReadState(const String& fileName) {
    std::string bytes;
    char* stored = bb_platform_ReadStorage(StorageKey(fileName).c_str());
    if (!stored)
        return bytes;
    std::uint32_t length = 0;
    std::memcpy(&length, stored, sizeof length);
    // As on the desktop, an outsize state is not read.
    if (length <= bb_files_largestStateFile)
        bytes.assign(stored + sizeof length, length);
    std::free(stored);
    return bytes;
}

int bb_platform_WriteState(const String& fileName, std::string_view bytes) {
    const int written = bb_platform_WriteStorage(StorageKey(fileName).c_str(), bytes.data(),
                                                 static_cast<int>(bytes.size()));
    return written ? 0 : -1;
}

String bb_platform_SoundFile(const String& path) {
    // The one place the page swaps a WAV for its Ogg twin (cmake/web.cmake packs them so): the
    // decoder then goes by the name that was opened, and the game goes on asking for the WAV.
    static constexpr std::u16string_view wav = u".wav";
    if (!bb_lower(path).ends_with(wav))
        return path;
    return path.substr(0, path.size() - wav.size()) + u".ogg";
}

bool bb_platform_OpenUrl(const String& url) {
    const std::string utf8 = bb_utf8_Encode(url);
    return bb_platform_OpenTab(utf8.c_str()) != 0;
}

String bb_platform_RunsFolder() {
    return u"/runs";
}

void bb_platform_RunKept(const std::string& path, bool ended, int score, int level,
                         long long updates) {
    // The page copies the file into its own storage, at its own pace, and deletes an ended one.
    bb_platform_TellRunKept(path.c_str(), ended ? 1 : 0, score, level,
                            static_cast<double>(updates));
}
