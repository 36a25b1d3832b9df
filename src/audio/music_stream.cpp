// The music's buffer queue: filled at the start, refilled as the source plays, taken back at
// the end.
#include "audio/music_stream.h"

#include <utility>

gxtkMusicStream::gxtkMusicStream(std::unique_ptr<VorbisStream> decoded, ALuint playing)
    : stream(std::move(decoded)), source(playing),
      format(stream->Channels() == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16),
      piece(static_cast<std::size_t>(kPieceFrames) * 2) {}

std::unique_ptr<gxtkMusicStream> gxtkMusicStream::Start(std::unique_ptr<VorbisStream> stream,
                                                        ALuint source) {
    if (!stream || !source)
        return nullptr;
    std::unique_ptr<gxtkMusicStream> music(new gxtkMusicStream(std::move(stream), source));
    alGetError();
    alGenBuffers(kBuffers, music->buffers.data());
    if (alGetError() != AL_NO_ERROR) {
        music->buffers.fill(0);
        return nullptr;
    }
    alSourcei(source, AL_LOOPING, AL_FALSE);
    for (ALuint buffer : music->buffers)
        if (!music->Queue(buffer))
            music->idle.push_back(buffer);
    if (music->idle.size() == music->buffers.size())
        return nullptr;
    alSourcePlay(source);
    return music;
}

gxtkMusicStream::~gxtkMusicStream() {
    alSourceStop(source);
    // A stopped source lets go of its whole queue at once.
    alSourcei(source, AL_BUFFER, 0);
    if (buffers[0])
        alDeleteBuffers(kBuffers, buffers.data());
}

bool gxtkMusicStream::Queue(ALuint buffer) {
    const int frames = stream->Read(piece.data(), kPieceFrames);
    if (frames == 0)
        return false;
    const auto bytes = static_cast<ALsizei>(frames * stream->Channels() * sizeof(short));
    alBufferData(buffer, format, piece.data(), bytes, stream->Hertz());
    alSourceQueueBuffers(source, 1, &buffer);
    return true;
}

void gxtkMusicStream::Pump() {
    ALint played = 0;
    alGetSourcei(source, AL_BUFFERS_PROCESSED, &played);
    for (; played > 0; --played) {
        ALuint buffer = 0;
        alSourceUnqueueBuffers(source, 1, &buffer);
        if (buffer)
            idle.push_back(buffer);
    }
    while (!idle.empty() && Queue(idle.back()))
        idle.pop_back();
    ALint state = 0;
    ALint queued = 0;
    alGetSourcei(source, AL_SOURCE_STATE, &state);
    alGetSourcei(source, AL_BUFFERS_QUEUED, &queued);
    if (state == AL_STOPPED && queued > 0)
        alSourcePlay(source);
}
