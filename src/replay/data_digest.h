// The digest a recording names its game data by: the same data folder gives the same digest on
// every machine, so a replay can say when the data it plays with is not the recording's.
#pragma once

#include <cstdint>
#include <string>

// 64-bit FNV-1a over every file of `folder` and below but the sounds (Sounds/), in order of their
// paths relative to it: each path, its size and its bytes. 0 when the folder cannot be read. The
// sounds never change how the game plays, and a platform may ship them in a format of its own.
std::uint64_t DataDigest(const std::string& folder);
// The digest of the game's own data folder (data/ beside the program).
std::uint64_t GameDataDigest();
