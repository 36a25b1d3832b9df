// A recording as a link: the text after "#run=" in an address is the recording compressed as raw
// deflate (RFC 1951, as a browser's CompressionStream('deflate-raw') writes it), in base64url
// without padding. A link may come from anyone: it is decoded within bounds, and what it holds is
// then read as any recording is.
#pragma once

#include "replay/replay_file.h"

#include <cstddef>
#include <string>
#include <string_view>

// The longest link taken whole, the most a browser's address holds.
inline constexpr size_t kRunLinkLimit = 2097152;
// What messages call a recording that came as a link.
inline constexpr const char* kRunLinkName = "the link";

// Whether a --play argument is a link rather than a file: it holds "#run=".
bool IsRunLink(std::string_view argument);
// The recording in `link` (an address, or its part from "#run=" on), at most kReplayFileLimit
// bytes; or one line on why not: a link too long, damaged, or holding too much.
ReplayFileText DecodeRunLink(std::string_view link);
// The "#run=" part of a link to `recording`; empty where links are not made.
std::string EncodeRunLink(std::string_view recording);
