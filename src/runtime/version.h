// The program's version, written once (the project's version in CMakeLists.txt), from which the
// build hands it to this module: --version, the title screen and recordings all show it.
#pragma once

// The version number, "2.1".
extern const char bb_version_Number[];
