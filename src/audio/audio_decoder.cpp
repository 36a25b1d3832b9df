// Chooses between the WAV and Ogg Vorbis decoders by the file's extension.
#include "audio/audio_decoder.h"

#include "audio/ogg_decoder.h"
#include "audio/wav_decoder.h"

short* DecodeAudioFile(std::FILE* file, const String& path, int* length, int* channels, int* format,
                       int* hertz) {
    const String lower = bb_lower(path);
    if (lower.ends_with(u".wav"))
        return LoadWAV(file, length, channels, format, hertz);
    if (lower.ends_with(u".ogg"))
        return LoadOGG(file, length, channels, format, hertz);
    return nullptr;
}
