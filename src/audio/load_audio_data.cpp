// The desktop host's sound loading: a file opened through the host's path mapping, decoded by its
// extension, and closed.
#include "audio/audio_decoder.h"
#include "host/bb_game.h"
#include "host/glfw_game.h"

short* LoadAudioFile(BBGame& host, const String& path, int* length, int* channels, int* format,
                     int* hertz) {
    std::FILE* file = host.OpenFile(path, u"rb");
    if (!file)
        return nullptr;
    short* block = DecodeAudioFile(file, path, length, channels, format, hertz);
    std::fclose(file);
    return block;
}

short* BBGlfwGame::LoadAudioData(const String& path, int* length, int* channels, int* format,
                                 int* hertz) {
    return LoadAudioFile(*this, path, length, channels, format, hertz);
}
