// What every asset group shares: the load state and completion count, the table that ties each
// file to the field keeping what was loaded from it, and the common start, store and count.
#pragma once

#include <iterator>
#include <memory>
#include <span>

#include "loading/async_image_loader.h"
#include "loading/async_sound_loader.h"

// The three load states of an asset group.
class c_LoadingStatus {
public:
    static constexpr int m_NotStarted = 0;
    static constexpr int m_Loading = 1;
    static constexpr int m_Loaded = 2;
};

// One file of a group and the field that receives its asset.
template <class Group, class Asset> struct c_AssetFile {
    const char16_t* path;
    std::unique_ptr<Asset> Group::*field;
};

// Stores the asset in the field of the first file whose path equals `path` (exactly); a path
// that is none of the group's stores nothing.
template <class Group, class Asset>
void bb_assetgroup_Store(Group& group, std::span<const c_AssetFile<Group, Asset>> files,
                         std::unique_ptr<Asset> asset, const String& path) {
    for (const auto& file : files) {
        if (path == file.path) {
            group.*file.field = std::move(asset);
            return;
        }
    }
}

class c_AssetGroup {
public:
    bool p_IsLoaded() const { return m_loadState == c_LoadingStatus::m_Loaded; }
    bool p_IsLoading() const { return m_loadState == c_LoadingStatus::m_Loading; }

    int m_loadState = c_LoadingStatus::m_NotStarted;
    int m_loadedCount = 0;

protected:
    // False once started; otherwise marks the group loading with no completions yet.
    bool p_BeginLoad();
    // Counts one completion, whatever its path; loaded once `loads` have arrived.
    void p_CountCompletion(int loads);
};

// A group of images listed in Group::kFiles, each loaded as one frame with the default flags.
template <class Group> class c_ImageGroup : public c_AssetGroup, public c_IOnLoadImageComplete {
public:
    void p_StartLoad() {
        if (p_BeginLoad())
            p_LoadFiles();
    }
    void p_OnLoadImageComplete(std::unique_ptr<c_Image> image, const String& path,
                               c_IAsyncEventSource*) override {
        bb_assetgroup_Store<Group, c_Image>(static_cast<Group&>(*this), Group::kFiles,
                                            std::move(image), path);
        p_CountCompletion(std::size(Group::kFiles));
    }

protected:
    void p_LoadFiles() {
        for (const auto& file : Group::kFiles) {
            bb_asyncloaders_LoadImageAsync(file.path, 1, c_Image::m_DefaultFlags, this);
        }
    }
};

// Stops the effect channels 0 to 3, where the play screens' sounds run.
void bb_assetgroup_StopEffectChannels();

// A group of sounds listed in Group::kFiles.
template <class Group> class c_SoundGroup : public c_AssetGroup, public c_IOnLoadSoundComplete {
public:
    void p_StartLoad() {
        if (!p_BeginLoad())
            return;
        for (const auto& file : Group::kFiles)
            bb_asyncloaders_LoadSoundAsync(file.path, this);
    }
    void p_OnLoadSoundComplete(std::unique_ptr<c_Sound> sound, const String& path,
                               c_IAsyncEventSource*) override {
        bb_assetgroup_Store<Group, c_Sound>(static_cast<Group&>(*this), Group::kFiles,
                                            std::move(sound), path);
        p_CountCompletion(std::size(Group::kFiles));
    }
    // When loaded: stops channels 0 to 3 and gives up the samples of the sounds that hold one.
    // In every case the group is not started afterwards; the sounds stay, without samples.
    void p_Discard() {
        if (m_loadState == c_LoadingStatus::m_Loaded) {
            bb_assetgroup_StopEffectChannels();
            for (const auto& file : Group::kFiles) {
                if (c_Sound* sound = (static_cast<Group&>(*this).*file.field).get()) {
                    sound->p_Discard();
                }
            }
        }
        m_loadState = c_LoadingStatus::m_NotStarted;
    }
};
