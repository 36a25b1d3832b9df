#!/usr/bin/env python3
"""The page's sounds: the game asks for its sound effects by their WAV names, the page carries
them as Ogg Vorbis, and each still arrives whole, as many samples as the desktop's WAV file
holds, and plays; the music streams, piece after piece. Seen inside the page through the
DevTools protocol: the length of every Web Audio buffer the page fills, and of every one it
starts.

    web_sound_test.py WEB_BUILD DESKTOP_DATA
"""

import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools"))
from devtools import DevTools, DevToolsError  # noqa: E402
from web_session import WebSession, WebSessionError, wait_for  # noqa: E402

# Kept by the page before its program runs: the frames of each buffer made and each started.
WATCH_AUDIO = """
window.madeBuffers = []; window.startedBuffers = [];
const create = AudioContext.prototype.createBuffer;
AudioContext.prototype.createBuffer = function (channels, frames, rate) {
    window.madeBuffers.push(frames);
    return create.apply(this, arguments);
};
const start = AudioBufferSourceNode.prototype.start;
AudioBufferSourceNode.prototype.start = function () {
    if (this.buffer)
        window.startedBuffers.push(this.buffer.length);
    return start.apply(this, arguments);
};
"""

# The general group, loaded with the title, then the road's, loaded once a game starts.
TITLE_SOUND = "Woop"
ROAD_SOUNDS = ["Siren", "Register", "Car", "CarCrash"]
# The frames of each piece of the streamed music (gxtkMusicStream::kPieceFrames); more pieces
# than its four buffers hold mean they are refilled as they play.
MUSIC_PIECE = 8192
MUSIC_BUFFERS = 4


def wav_frames(path):
    """The sample frames of a 16-bit PCM WAV file: its data chunk's size over its frame size."""
    with open(path, "rb") as wav:
        riff = wav.read()
    channels = struct.unpack_from("<H", riff, 22)[0]
    offset = 12
    while offset + 8 <= len(riff):
        chunk, size = struct.unpack_from("<4sI", riff, offset)
        if chunk == b"data":
            return size // (2 * channels)
        offset += 8 + size + (size & 1)
    raise ValueError(f"{path}: no data chunk")


def check(web_build, desktop_data):
    frames = {name: wav_frames(os.path.join(desktop_data, "Sounds", name + ".wav"))
              for name in [TITLE_SOUND] + ROAD_SOUNDS}
    with WebSession(web_build, devtools=True) as session:
        session.open("index.html")
        devtools = DevTools(session.profile_dir)
        try:
            devtools.call("Page.enable")
            devtools.call("Page.addScriptToEvaluateOnNewDocument", source=WATCH_AUDIO)
            devtools.call("Page.reload", ignoreCache=True)

            def whole(names):
                made = devtools.evaluate("window.madeBuffers || []")
                return all(frames[name] in made for name in names)
            wait_for(lambda: whole([TITLE_SOUND]), 60, f"{TITLE_SOUND}, whole, on the title")

            # A click lets the page sound, and the title's music plays on.
            session.xdotool("mousemove", "400", "300", "click", "1")
            pieces = f"window.startedBuffers.filter(n => n == {MUSIC_PIECE}).length"
            wait_for(lambda: devtools.evaluate(pieces) > 2 * MUSIC_BUFFERS, 60,
                     "the music, streamed in pieces that keep coming")
            # Enter starts a game on the road.
            session.xdotool("key", "Return")
            wait_for(lambda: whole(ROAD_SOUNDS), 60, "the road's sounds, each whole")
            effects = set(frames.values())
            wait_for(lambda: effects & set(devtools.evaluate("window.startedBuffers")), 30,
                     "a sound effect started")
        finally:
            devtools.close()


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    try:
        check(sys.argv[1], sys.argv[2])
    except (WebSessionError, DevToolsError) as error:
        sys.exit(f"FAIL: {error}")
    print("ok: the page's sound effects arrive whole from Ogg Vorbis and play, the music streams")


if __name__ == "__main__":
    main()
