// GLFW key numbers to game key codes, and game key codes to the characters they type.
#pragma once

// 0 when the GLFW key has no game key (the event is dropped).
int bb_input_TransKey(int glfwKey);
// 8, 9, 13, 27 as themselves; 33..40 and 45 as key + 0x10000; 46 as 127; anything else 0.
int bb_input_KeyToChar(int key);
