// The characters that the game's control and navigation key codes type.
#include "input/key_translation.h"

int bb_input_KeyToChar(int key) {
    switch (key) {
    case 8:
    case 9:
    case 13:
    case 27:
        return key;
    case 46:
        return 127;
    default:
        break;
    }
    // Navigation keys type characters in a private range above the 16-bit ones.
    if ((key >= 33 && key <= 40) || key == 45)
        return key + 0x10000;
    return 0;
}
