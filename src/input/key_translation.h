// Game key codes to the characters they type (the host turns its window's key numbers into game
// key codes; see BBGlfwGame::TransKey).
#pragma once

// 8, 9, 13, 27 as themselves; 33..40 and 45 as key + 0x10000; 46 as 127; anything else 0.
int bb_input_KeyToChar(int key);
