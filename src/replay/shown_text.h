// Text from a script or a command line, made safe to print on a terminal: a stranger's file may
// hold escape sequences or a line of megabytes.
#pragma once

#include <string>
#include <string_view>

// The most characters of such a text a message shows.
inline constexpr size_t kShownTextLimit = 60;

// `text` with every byte outside printable ASCII, and the backslash, written as \xNN (\\), cut
// after `limit` characters with "..." after it.
std::string ShownText(std::string_view text, size_t limit = kShownTextLimit);
