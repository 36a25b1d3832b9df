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
    explicit gxtkSample(ALuint buffer) : buffer(buffer) {}
    ~gxtkSample();
    gxtkSample(const gxtkSample&) = delete;
    gxtkSample& operator=(const gxtkSample&) = delete;

    void SetBuffer(ALuint id) { buffer = id; }
    void Discard();

    ALuint buffer = 0; // 0: none
};

// Buffer ids of discarded samples, not yet deleted. Main thread only.
std::vector<ALuint>& bb_audio_DiscardedBuffers();
