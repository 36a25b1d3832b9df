// The two course tables: record counts per level, their end, and the second course's layout.
#include <gtest/gtest.h>

#include "ski/ski_course.h"

namespace {

int records_for_level(const std::array<int, ski_course::kInts>& course, int lowest) {
    int count = 0;
    for (int i = 0; i < ski_course::kInts; i += 4)
        count += course[i + 3] == lowest;
    return count;
}

} // namespace

TEST(SkiCourse, FirstCourseHas95LevelOneRecordsThenElevenAndSix) {
    const auto& course = ski_course::Course1();
    EXPECT_EQ(records_for_level(course, 1), 95);
    EXPECT_EQ(records_for_level(course, 2), 11);
    EXPECT_EQ(records_for_level(course, 3), 6);
    // The table is full: its last record is the end of the course, its first the first mogul.
    EXPECT_EQ(course[0], 1);
    EXPECT_EQ(course[2], ski_course::kMogul);
    EXPECT_EQ(course[ski_course::kInts - 4], 502);
    EXPECT_EQ(course[ski_course::kInts - 2], ski_course::kEnd);
    EXPECT_EQ(course[ski_course::kInts - 8], 480);
    EXPECT_EQ(course[ski_course::kInts - 6], ski_course::kFinish);
}

TEST(SkiCourse, RowsRiseThroughTheTable) {
    for (const auto* course : {&ski_course::Course1(), &ski_course::Course2()})
        for (int i = 4; i < ski_course::kInts; i += 4)
            EXPECT_GT((*course)[i], (*course)[i - 4]);
}

TEST(SkiCourse, SecondCourseMovesColumnsAndCountsFromLevelFive) {
    const auto& first = ski_course::Course1();
    const auto& second = ski_course::Course2();
    EXPECT_EQ(records_for_level(second, 5), ski_course::kRecords);
    int moved = 0;
    for (int i = 0; i < ski_course::kInts; i += 4) {
        EXPECT_EQ(second[i], first[i]);
        EXPECT_EQ(second[i + 2], first[i + 2]);
        moved += second[i + 1] != first[i + 1];
    }
    EXPECT_EQ(moved, 33);
    // Row 1's mogul moves from column 13 to 20; row 331's from 4 to 18; row 10's tree stays.
    EXPECT_EQ(second[1], 20);
    EXPECT_EQ(second[3 * 4 + 1], 16);
    int row331 = 0;
    for (int i = 0; i < ski_course::kInts; i += 4)
        if (second[i] == 331)
            row331 = second[i + 1];
    EXPECT_EQ(row331, 18);
}
