// A page opens its links itself, with the browser's DecompressionStream: the program it runs is
// never handed one.
#include "replay/run_link.h"

bool IsRunLink(std::string_view) {
    return false;
}

ReplayFileText DecodeRunLink(std::string_view) {
    return {std::nullopt, std::string(kRunLinkName) + " is opened by the page"};
}

std::string EncodeRunLink(std::string_view) {
    return {};
}
