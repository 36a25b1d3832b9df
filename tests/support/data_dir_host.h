// A host for tests whose "zibbet://data/" folder is any folder the test names.
#pragma once

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

    unsigned char* LoadImageData(const String& path, int* width, int* height,
                                 int* depth) override {
        return gxtk_LoadImageData(*this, path, width, height, depth);
    }

private:
    String dataDir_;
};
