// The version number as the build defines it for this one file.
#include "runtime/version.h"

const char bb_version_Number[] = SKIDDLEWICK_VERSION;
