// A sound decoded into one OpenAL buffer, and the list of buffers waiting to be deleted.
#pragma once

#include <AL/al.h>

#include <vector>

// Deleting a buffer that a source still holds fails, so a sample never deletes its buffer
// itself: discarding (or destroying) it moves the buffer id to the discarded list, which the
// audio device empties as sources let go (gxtkAudio::FlushDiscarded).
class gxtkSample {
public:
    gxtkSample() = default;
    explicit gxtkSample(ALuint buffer);
    ~gxtkSample();
    gxtkSample(const gxtkSample&) = delete;
    gxtkSample& operator=(const gxtkSample&) = delete;

    void SetBuffer(ALuint id);
    void Discard();

    ALuint buffer = 0; // 0: none

private:
    // The audio device whose buffer this is, counted in devices closed before it.
    unsigned m_device = 0;
};

// Buffer ids of discarded samples, not yet deleted. Main thread only.
std::vector<ALuint>& bb_audio_DiscardedBuffers();

// A closing audio device takes every buffer it made with it: the waiting ids are forgotten, and
// a sample of that device discarded later has nothing left to delete. Without this, such an id
// could name a buffer of the next device and delete it from under its sample.
void bb_audio_ForgetDeviceBuffers();
