// The host's path schemes over the program directory.
#include "files/path_schemes.h"

#include <string_view>

namespace {

struct Scheme {
    std::u16string_view prefix;
    std::u16string_view folder; // appended to the program directory, "/" included
};

constexpr Scheme kSchemes[] = {
    {u"zibbet://data/", u"/data/"},
    {u"zibbet://internal/", u"/internal/"},
    {u"zibbet://external/", u"/external/"},
};

} // namespace

String bb_files_MapSchemePath(const String& path, const String& programDir) {
    for (const Scheme& scheme : kSchemes) {
        if (path.starts_with(scheme.prefix))
            return programDir + String(scheme.folder) + path.substr(scheme.prefix.size());
    }
    // Any other scheme of ours names nothing that can be opened.
    if (path.starts_with(u"zibbet:"))
        return String();
    return path;
}
