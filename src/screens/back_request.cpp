// The back request: the keyboard's Escape or the first pad's Back.
#include "screens/back_request.h"

#include "input/input_device.h"
#include "input/key_codes.h"

bool bb_back_Hit() {
    return bb_input_KeyHit(KEY_ESCAPE) != 0 || bb_input_KeyHit(KEY_JOY0_BACK) != 0;
}
