// The game's half of the start: its globals and its application on the host just made.
#include "game/game_start.h"

#include "game/init.h"
#include "runtime/throwable.h"

bool bb_gamestart_Begin(BBGame& host, std::string& error) {
    try {
        bbInit();
        bbMain();
    } catch (ThrowableObject& exception) {
        host.Die(&exception);
    } catch (ThrowableObject* exception) {
        host.Die(exception);
    }
    if (!host.Delegate()) {
        error = "the game created no application";
        return false;
    }
    return true;
}
