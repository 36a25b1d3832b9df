// A host for tests and benchmarks whose "zibbet://data/" folder is any folder they name. It
// decodes images and sounds as the desktop host does.
#pragma once

#include "audio/audio_decoder.h"
#include "graphics/image_loading.h"
#include "host/bb_game.h"

class DataDirHost : public BBGame {
public:
    explicit DataDirHost(String dataDir) : dataDir_(std::move(dataDir)) {}

    String PathToFilePath(const String& path) override {
        static const String scheme = u"zibbet://data/";
        if (path.starts_with(scheme))
            return dataDir_ + u"/" + path.substr(scheme.size());
        return path;
    }

    unsigned char* LoadImageData(const String& path, int* width, int* height, int* depth) override {
        return gxtk_LoadImageData(*this, path, width, height, depth);
    }

    short* LoadAudioData(const String& path, int* length, int* channels, int* format,
                         int* hertz) override {
        return LoadAudioFile(*this, path, length, channels, format, hertz);
    }

private:
    String dataDir_;
};
