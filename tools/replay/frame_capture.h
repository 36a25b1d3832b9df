// Saving the frame the game has just drawn (still in the back buffer) as a PNG file.
#pragma once

#include <string>

struct GLFWwindow;

// Reads the window's back buffer and writes it, top row first, as an RGB PNG in a new file. False
// when the file cannot be written, with errno saying why.
bool CaptureFrame(GLFWwindow* window, const std::string& path);
