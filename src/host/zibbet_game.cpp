// The program's start-up sequence: GLFW, the host, signals and locale, the game's globals and
// application, then the frame loop.
#include "host/zibbet_game.h"

#include "host/app.h"
#include "host/errors.h"
#include "host/game_entry.h"

#include <clocale>
#include <memory>

int bb_host_argc = 0;
char** bb_host_argv = nullptr;

int BBZibbetGame::Main(int argc, char* argv[]) {
    glfwSetErrorCallback(onGlfwError);
    if (!glfwInit()) {
        bbPrint(u"glfwInit failed");
        bb_host_Exit(-1);
    }
    auto game = std::make_unique<BBZibbetGame>();
    bb_host_argc = argc;
    bb_host_argv = argv;
    bb_host_InstallSignalHandlers();
    if (!std::setlocale(LC_CTYPE, "en_US.UTF-8"))
        std::setlocale(LC_CTYPE, "");
    try {
        bbInit();
        bbMain();
    } catch (ThrowableObject& exception) {
        glfwTerminate();
        game->Die(&exception);
    } catch (ThrowableObject* exception) {
        glfwTerminate();
        game->Die(exception);
    }
    if (game->Delegate())
        game->Run();
    // Leaving the loop ends the program as quitting does: a loader thread may still be reading
    // through the host and into the devices, so nothing is torn down under it.
    bb_app_EndApp();
}
