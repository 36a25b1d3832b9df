// The two ski courses: 112 records of (row, column, type, lowest level) each.
#pragma once

#include <array>

namespace ski_course {
constexpr int kRecords = 112;
constexpr int kInts = kRecords * 4;

// Record types.
constexpr int kNothing = 0;
constexpr int kTree = 1;
constexpr int kMogul = 2;
constexpr int kGate = 3;
constexpr int kFinish = 4;
constexpr int kEnd = 99;

// The course for levels 1 to 4.
const std::array<int, kInts>& Course1();
// The course from level 5: the same rows and types, rearranged columns, all from level 5.
const std::array<int, kInts>& Course2();
} // namespace ski_course
