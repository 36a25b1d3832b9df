// Fuzz target for a link to a run from anywhere: the decoder takes any text; what it refuses is one
// printable line; what it accepts is at most a script's size, and is the recording that a link
// made from it holds again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "replay/replay_file.h"
#include "replay/run_link.h"

namespace {

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool Printable(const std::string& text) {
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7e)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string link(reinterpret_cast<const char*>(data), size);
    const ReplayFileText decoded = DecodeRunLink(link);
    if (!decoded.text) {
        require(!decoded.error.empty() && decoded.error.size() < 200 && Printable(decoded.error));
        return 0;
    }
    require(decoded.text->size() <= kReplayFileLimit);
    const ReplayFileText again = DecodeRunLink(EncodeRunLink(*decoded.text));
    require(again.text && *again.text == *decoded.text);
    return 0;
}
