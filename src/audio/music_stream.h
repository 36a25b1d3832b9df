// Music on its channel's source while it decodes: a few OpenAL buffers take turns, each given the
// next piece of the stream as soon as the source has played it, so the track is never held whole.
#pragma once

#include <AL/al.h>

#include <array>
#include <memory>
#include <vector>

#include "audio/vorbis_stream.h"

class gxtkMusicStream {
public:
    static constexpr int kBuffers = 4;
    // Frames a buffer holds: four of them last 0.7 s at 44.1 kHz, far more than an update.
    static constexpr int kPieceFrames = 8192;

    // Queues the first pieces on `source` (stopped, its own buffer let go) and plays it. Null when
    // OpenAL gives no buffers or the stream no first piece.
    static std::unique_ptr<gxtkMusicStream> Start(std::unique_ptr<VorbisStream> stream,
                                                  ALuint source);
    // Stops the source, takes its queue back and deletes the buffers.
    ~gxtkMusicStream();
    gxtkMusicStream(const gxtkMusicStream&) = delete;
    gxtkMusicStream& operator=(const gxtkMusicStream&) = delete;

    // Gives the buffers the source has played the next pieces, and plays the source on if it ran
    // dry while meant to play (updates held up for longer than the queued pieces last). A paused
    // source stays paused. Main thread, once an update.
    void Pump();

private:
    gxtkMusicStream(std::unique_ptr<VorbisStream> stream, ALuint source);
    // Fills the buffer with the next piece and queues it; false at the stream's end.
    bool Queue(ALuint buffer);

    std::unique_ptr<VorbisStream> stream;
    ALuint source;
    ALenum format;
    std::array<ALuint, kBuffers> buffers{};
    std::vector<ALuint> idle; // buffers off the source, waiting for a piece
    std::vector<short> piece;
};
