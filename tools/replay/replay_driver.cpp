// The replay driver: the program's own start-up, then the runner's updates, renders and frame
// captures, with a trace line after every update.
#include "replay_driver.h"

#include "frame_capture.h"

#include "game/game_start.h"
#include "host/game_session.h"

#include "replay/shown_text.h"

#include <cerrno>
#include <clocale>
#include <cstring>

ReplayDriver::ReplayDriver(ReplayScript script, std::FILE* trace, std::string shots)
    : _trace(trace), _shots(std::move(shots)), _runner(std::move(script)) {
    bb_host_session = &_runner;
}

ReplayDriver::~ReplayDriver() {
    if (bb_host_session == &_runner)
        bb_host_session = nullptr;
}

int ReplayDriver::Run() {
    for (;;) {
        bool ok = true;
        switch (_runner.Next()) {
        case ReplayStep::Start:
            ok = Boot();
            break;
        case ReplayStep::Shot:
            ok = Shot(_runner.ShotFile());
            break;
        case ReplayStep::Update:
            ok = RunUpdate();
            break;
        case ReplayStep::End:
            return 0;
        case ReplayStep::Failed:
            ok = false;
            break;
        }
        if (!ok)
            return _runner.Status();
    }
}

bool ReplayDriver::Boot() {
    std::string error;
    _host = bb_gamestart_Start<ReplayHost>(error);
    if (!_host)
        return _runner.Fail(1, error);
    _host->Open();
    return true;
}

bool ReplayDriver::Shot(const std::string& name) {
    if (!_frameDrawn)
        return _runner.Fail(1, "shot: no frame has been drawn yet");
    // The reader let only a plain name through, and the tool only a script with a folder for it.
    if (!CaptureFrame(_host->GetGLFWwindow(), _shots + "/" + name))
        return _runner.Fail(1, "shot: cannot write '" + ShownText(name) +
                                   "': " + std::strerror(errno));
    return true;
}

bool ReplayDriver::RunUpdate() {
    _host->UpdateGame();
    if (_runner.Status() != 0)
        return false;
    const std::string& line = _runner.LastLine();
    std::fputs(line.c_str(), _trace);
    std::fputc('\n', _trace);
    // The previous frame is shown only now, so that the one just drawn stays in the back
    // buffer for a shot.
    if (_frameDrawn)
        glfwSwapBuffers(_host->GetGLFWwindow());
    _host->RenderGame();
    _frameDrawn = true;
    return true;
}
