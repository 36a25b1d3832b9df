// The game's string type: 16-bit code units, with conversion to and from UTF-8 at the edges
// (file names, standard output, window titles).
#pragma once

#include <string>
#include <string_view>

using String = std::u16string;

// Encodes each code unit on its own (no surrogate pairing): below 0x80 one byte, below 0x800
// two bytes, otherwise three. This is how the game writes standard output and its state file.
std::string bb_utf8_Encode(const String& text);

// Decodes UTF-8 into one code unit per one-, two- or three-byte sequence. Returns false on a
// malformed sequence (then `out` is unspecified); four-byte sequences count as malformed.
bool bb_utf8_Decode(std::string_view bytes, String& out);

// UTF-8 text to String; malformed input widens byte by byte (Latin-1).
String bb_str(std::string_view utf8);

// UTF-8 for a message: control characters (a name from the environment or a file may hold any)
// shown as "?", so that printing it cannot move the terminal's cursor or change its colours.
std::string bb_printable(const String& text);

// Narrows each code unit to its low 8 bits.
std::string bb_narrow(const String& text);

// Lower-cases ASCII letters only, leaving every other code unit alone.
String bb_lower(const String& text);

// Decimal text of an int.
String bb_itos(int value);
