// The load-state bookkeeping shared by the asset groups.
#include "loading/asset_group.h"

#include "audio/audio.h"

bool c_AssetGroup::p_BeginLoad() {
    if (m_loadState != c_LoadingStatus::m_NotStarted)
        return false;
    m_loadState = c_LoadingStatus::m_Loading;
    m_loadedCount = 0;
    return true;
}

void c_AssetGroup::p_CountCompletion(int loads) {
    ++m_loadedCount;
    if (m_loadedCount >= loads)
        m_loadState = c_LoadingStatus::m_Loaded;
}

void bb_assetgroup_StopEffectChannels() {
    for (int channel = 0; channel < 4; ++channel)
        bb_audio_StopChannel(channel);
}
