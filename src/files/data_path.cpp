// bb_data_FixDataPath: relative asset paths go under the data scheme.
#include "files/data_path.h"

String bb_data_FixDataPath(const String& path) {
    // A scheme ("zibbet://...") or a drive ("C:/...") path: its first "/" follows the first ":/".
    size_t colon = path.find(u":/");
    if (colon != String::npos && path.find(u'/') == colon + 1)
        return path;
    if (path.starts_with(u"./") || path.starts_with(u"/"))
        return path;
    return u"zibbet://data/" + path;
}
