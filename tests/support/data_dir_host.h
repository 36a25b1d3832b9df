// A host for tests and benchmarks whose "zibbet://data/" folder is any folder they name. It
// decodes images and sounds with the game's decoders, as the desktop host does once bbInit has
// installed them.
#pragma once

#include "audio/audio_decoder.h"
#include "graphics/image_loading.h"
#include "host/bb_game.h"
#include "host/devices.h"

class DataDirHost : public BBGame {
public:
    explicit DataDirHost(String dataDir) : dataDir_(std::move(dataDir)) {
        bb_app_deviceHooks.decodeImage = &gxtk_DecodeImage;
        bb_app_deviceHooks.decodeAudio = &DecodeAudioFile;
    }

    String PathToFilePath(const String& path) override {
        static const String scheme = u"zibbet://data/";
        if (path.starts_with(scheme))
            return dataDir_ + u"/" + path.substr(scheme.size());
        return path;
    }

private:
    String dataDir_;
};
