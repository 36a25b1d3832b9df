// BBGame: the delegate, the update rate and the started/suspended state, the guarded dispatch,
// file access through the path mapping (decoding through the device modules' decoders), and the
// state file.
#include "host/bb_game.h"

#include "files/data_path.h"
#include "files/file_access.h"
#include "files/state_file.h"
#include "files/text_decoding.h"
#include "host/devices.h"
#include "host/errors.h"
#include "host/file_prefetch.h"
#include "host/game_session.h"
#include "host/platform.h"
#include "input/input_device.h"
#include "input/input_events.h"

#include <cstdio>
#include <ctime>

BBGame* BBGame::_game = nullptr;

BBGame::BBGame() {
    _game = this;
    bb_files_opener = this;
    // Kept after the host goes: the way out needs no host object, and a process that had one
    // may still hold its devices or a recording.
    bb_runtime_exit = &bb_host_EndProgram;
}

BBGame::~BBGame() {
    // The thread decoding ahead calls into this host: it finishes its file first.
    bb_prefetch_Drop();
    if (_game == this)
        _game = nullptr;
    if (bb_files_opener == this)
        bb_files_opener = nullptr;
}

void BBGame::SetDelegate(BBGameDelegate* delegate) {
    _delegate = delegate;
}
BBGameDelegate* BBGame::Delegate() {
    return _delegate;
}
void BBGame::SetKeyboardEnabled(bool enabled) {
    _keyboardEnabled = enabled;
}
bool BBGame::KeyboardEnabled() {
    return _keyboardEnabled;
}
void BBGame::SetUpdateRate(int hertz) {
    _updateRate = hertz;
}
int BBGame::UpdateRate() {
    return _updateRate;
}
bool BBGame::Started() {
    return _started;
}
bool BBGame::Suspended() {
    return _suspended;
}
int BBGame::Millisecs() {
    return 0;
}

void BBGame::GetDate(std::vector<int>& date) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const int fields[7] = {local.tm_year + 1900,
                           local.tm_mon + 1,
                           local.tm_mday,
                           local.tm_hour,
                           local.tm_min,
                           local.tm_sec,
                           0};
    for (size_t i = 0; i < date.size() && i < 7; ++i)
        date[i] = fields[i];
}

int BBGame::SaveState(const String& state) {
    const String fileName = bb_platform_StateFileName();
    const int result = bb_platform_WriteState(fileName, bb_utf8_Encode(state));
    // The game plays on with the settings in use; the player learns why they will not be back.
    if (result != 0)
        std::fprintf(stderr, "skiddlewick: the settings could not be saved in '%s'\n",
                     bb_printable(fileName).c_str());
    return result;
}

String BBGame::LoadState() {
    String fileName = bb_platform_StateFileName();
    // Settings that an older version kept in the working folder are read until the first save
    // writes them to their own place; the old file stays where it is.
    if (!bb_files_Exists(fileName))
        fileName = bb_files_stateFileName;
    return bb_files_DecodeText(bb_platform_ReadState(fileName));
}

String BBGame::LoadString(const String& path) {
    FILE* file = OpenFile(path, u"rb");
    if (!file)
        return String();
    std::string bytes;
    bb_files_ReadAll(file, bytes);
    std::fclose(file);
    return bb_files_DecodeText(bytes);
}

int BBGame::CountJoysticks(bool /*update*/) {
    return 0;
}

bool BBGame::PollJoystick(int, std::span<float>, std::span<float>, std::span<float>,
                          std::span<bool>) {
    return false;
}

void BBGame::OpenUrl(const String& /*url*/) {}
void BBGame::SetMouseVisible(bool /*visible*/) {}
int BBGame::GetDeviceWidth() {
    return 0;
}
int BBGame::GetDeviceHeight() {
    return 0;
}
void BBGame::SetDeviceWindow(int, int, int) {}
std::vector<BBDisplayMode> BBGame::GetDisplayModes() {
    return {};
}
std::optional<BBDisplayMode> BBGame::GetDesktopMode() {
    return std::nullopt;
}
void BBGame::SetSwapInterval(int /*interval*/) {}
bool BBGame::TakeFullscreenLeft() {
    return false;
}
String BBGame::PathToFilePath(const String& path) {
    return path;
}

FILE* BBGame::OpenFile(const String& path, const String& mode) {
    String fileName = PathToFilePath(path);
    if (fileName.empty())
        return nullptr;
    return bb_files_Open(fileName, mode);
}

unsigned char* BBGame::LoadData(const String& path, int* length) {
    return bb_files_LoadData(*this, path, length);
}

namespace {

// Hands an opened file (null: none) to the drawing module's decoder and closes it again.
unsigned char* DecodeImage(FILE* file, int* width, int* height, int* depth) {
    const auto decodeImage = bb_app_deviceHooks.decodeImage;
    unsigned char* pixels = file && decodeImage ? decodeImage(file, width, height, depth) : nullptr;
    if (file)
        std::fclose(file);
    return pixels;
}

// Hands an opened file (null: none) to the audio module's decoder, which goes by the name of the
// sound file, and closes it again.
short* DecodeAudio(FILE* file, const String& soundFile, int* length, int* channels, int* format,
                   int* hertz) {
    const auto decodeAudio = bb_app_deviceHooks.decodeAudio;
    short* samples = file && decodeAudio
                         ? decodeAudio(file, soundFile, length, channels, format, hertz)
                         : nullptr;
    if (file)
        std::fclose(file);
    return samples;
}

// A file the thread decoding ahead opens by the name the host mapped it to beforehand, so that
// the thread never calls into the host.
FILE* OpenMapped(const String& fileName) {
    return fileName.empty() ? nullptr : bb_files_Open(fileName, u"rb");
}

// Starts decoding the game's start-up files on a thread beside this one. A file decoded ahead is
// known by its kind ('i' or 's') and the file its path maps to, however the path was spelt.
void PrefetchStartupFiles(BBGame& host) {
    if (!bb_app_deviceHooks.startupFiles)
        return;
    const BBStartupFiles files = bb_app_deviceHooks.startupFiles();
    std::vector<std::pair<String, BBDecodeJob>> jobs;
    for (const String& image : files.images) {
        const String fileName = host.PathToFilePath(bb_data_FixDataPath(image));
        jobs.emplace_back(u'i' + fileName, [fileName] {
            BBDecodedFile decoded;
            decoded.data = DecodeImage(OpenMapped(fileName), &decoded.values[0], &decoded.values[1],
                                       &decoded.values[2]);
            return decoded;
        });
    }
    for (const String& sound : files.sounds) {
        const String soundFile = bb_platform_SoundFile(bb_data_FixDataPath(sound));
        const String fileName = host.PathToFilePath(soundFile);
        jobs.emplace_back(u's' + fileName, [soundFile, fileName] {
            BBDecodedFile decoded;
            decoded.data = DecodeAudio(OpenMapped(fileName), soundFile, &decoded.values[0],
                                       &decoded.values[1], &decoded.values[2], &decoded.values[3]);
            return decoded;
        });
    }
    bb_prefetch_Start(std::move(jobs));
}

} // namespace

unsigned char* BBGame::LoadImageData(const String& path, int* width, int* height, int* depth) {
    if (const auto ahead = bb_prefetch_Take(u'i' + PathToFilePath(path))) {
        *width = ahead->values[0];
        *height = ahead->values[1];
        *depth = ahead->values[2];
        return static_cast<unsigned char*>(ahead->data);
    }
    return DecodeImage(OpenFile(path, u"rb"), width, height, depth);
}

short* BBGame::LoadAudioData(const String& path, int* length, int* channels, int* format,
                             int* hertz) {
    const String soundFile = bb_platform_SoundFile(path);
    if (const auto ahead = bb_prefetch_Take(u's' + PathToFilePath(soundFile))) {
        *length = ahead->values[0];
        *channels = ahead->values[1];
        *format = ahead->values[2];
        *hertz = ahead->values[3];
        return static_cast<short*>(ahead->data);
    }
    return DecodeAudio(OpenFile(soundFile, u"rb"), soundFile, length, channels, format, hertz);
}

void BBGame::Die(ThrowableObject* /*exception*/) {
    dbg_error("Uncaught Zibbet Exception");
}

namespace {

// Runs one call into the game; an exception the game did not catch ends the program.
template <class Call> void Guarded(BBGame* game, Call&& call) {
    try {
        call();
    } catch (ThrowableObject& exception) {
        game->Die(&exception);
    } catch (ThrowableObject* exception) {
        game->Die(exception);
    }
}

// A session hears of a finger as the game gets it: the key the input device makes of it, and
// its place as the pointer's (finger 0 is the pointer; a recording notes the pointer before each
// update). So a recording of touches replays where there are none, and a showing keeps them.
bool PassTouchToSession(int event, int finger, float x, float y) {
    if (finger < 0 || finger >= c_InputDevice::kFingers)
        return true;
    switch (event) {
    case BBEVENT_TOUCHDOWN:
        return bb_host_session->PassKeyEvent(BBEVENT_KEYDOWN, KEY_TOUCH0 + finger);
    case BBEVENT_TOUCHUP:
        return bb_host_session->PassKeyEvent(BBEVENT_KEYUP, KEY_TOUCH0 + finger);
    case BBEVENT_TOUCHMOVE:
        return bb_host_session->PassMouseEvent(BBEVENT_MOUSEMOVE, 0, x, y);
    default:
        return true;
    }
}

} // namespace

void BBGame::StartGame() {
    if (_started)
        return;
    _started = true;
    if (_delegate)
        Guarded(this, [&] { _delegate->StartGame(); });
}

void BBGame::SuspendGame() {
    if (!_started || _suspended)
        return;
    _suspended = true;
    // A session may keep the game from hearing of it: the updates stop all the same.
    if (_delegate && (!bb_host_session || bb_host_session->PassFocus(false)))
        Guarded(this, [&] { _delegate->SuspendGame(); });
}

void BBGame::ResumeGame() {
    if (!_started || !_suspended)
        return;
    _suspended = false;
    if (_delegate && (!bb_host_session || bb_host_session->PassFocus(true)))
        Guarded(this, [&] { _delegate->ResumeGame(); });
}

void BBGame::UpdateGame() {
    if (!_started || _suspended)
        return;
    if (bb_host_session && !bb_host_session->BeforeUpdate())
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->UpdateGame(); });
    if (bb_host_session)
        bb_host_session->AfterUpdate();
}

bool BBGame::AwaitLoads(double seconds) {
    if (!_started || _suspended || !_delegate)
        return false;
    return _delegate->AwaitLoads(seconds);
}

void BBGame::RenderGame() {
    if (!_started)
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->RenderGame(); });
}

void BBGame::KeyEvent(int event, int data) {
    if (!_started || (bb_host_session && !bb_host_session->PassKeyEvent(event, data)))
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->KeyEvent(event, data); });
}

void BBGame::MouseEvent(int event, int data, float x, float y) {
    if (!_started || (bb_host_session && !bb_host_session->PassMouseEvent(event, data, x, y)))
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->MouseEvent(event, data, x, y); });
}

void BBGame::TouchEvent(int event, int data, float x, float y) {
    if (!_started || (bb_host_session && !PassTouchToSession(event, data, x, y)))
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->TouchEvent(event, data, x, y); });
}

void BBGame::MotionEvent(int event, int data, float x, float y, float z) {
    if (!_started)
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->MotionEvent(event, data, x, y, z); });
}

void BBGame::DiscardGraphics() {
    if (!_started)
        return;
    if (_delegate)
        Guarded(this, [&] { _delegate->DiscardGraphics(); });
}

void BBGame::PrepareStart() {
    PrefetchStartupFiles(*this);
    if (_delegate)
        Guarded(this, [&] { _delegate->PrepareStart(); });
}
