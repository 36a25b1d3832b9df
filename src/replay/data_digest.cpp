// DataDigest: a walk of the folder in a fixed order, each file hashed as it is read.
#include "replay/data_digest.h"

#include "files/path_schemes.h"
#include "host/platform.h"
#include "replay/trace_line.h"
#include "runtime/string.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kSoundsFolder = "Sounds/";

} // namespace

std::uint64_t DataDigest(const std::string& folder) {
    std::error_code error;
    std::vector<std::string> files;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().lexically_relative(folder).generic_string();
        if (it->is_regular_file(error) && !name.starts_with(kSoundsFolder))
            files.push_back(name);
    }
    if (error)
        return 0;
    std::sort(files.begin(), files.end());
    std::uint64_t hash = kFnvOffsetBasis;
    std::vector<char> buffer(1 << 16);
    for (const std::string& name : files) {
        // The name with its end, so that no two lists of files run together the same way.
        hash = FnvHash(std::string_view(name.c_str(), name.size() + 1), hash);
        // Plain C reading: the streams would bring the C++ library's locales into the page.
        if (std::FILE* file = std::fopen((fs::path(folder) / name).c_str(), "rb")) {
            for (size_t got; (got = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;)
                hash = FnvHash(std::string_view(buffer.data(), got), hash);
            std::fclose(file);
        }
        const std::string size = std::to_string(fs::file_size(fs::path(folder) / name, error));
        hash = FnvHash(std::string_view(size.c_str(), size.size() + 1), hash);
    }
    return hash;
}

std::uint64_t GameDataDigest() {
    return DataDigest(
        bb_utf8_Encode(bb_files_MapSchemePath(u"zibbet://data/", bb_platform_ProgramDirectory())));
}
