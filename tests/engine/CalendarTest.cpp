#include "engine/Calendar.h"

#include <gtest/gtest.h>

namespace {

DateTimeParts at(int y, int mo, int d, int h, int mi) {
    return {0, y, mo, d, h, mi};
}

TEST(Calendar, ElapsedMinutesAndBorrowChain) {
    const struct {
        DateTimeParts quit, now;
        std::int64_t minutes;
        DateTimeParts parts;
    } cases[] = {
        {at(2008, 7, 7, 10, 30), at(2008, 8, 8, 11, 0), 46110, {0, 0, 1, 1, 0, 30}},
        {at(2008, 2, 28, 10, 0), at(2008, 3, 1, 10, 0), 2880, {0, 0, 0, 2, 0, 0}},
        {at(2100, 2, 28, 0, 0), at(2100, 3, 1, 0, 0), 1440, {0, 0, 0, 1, 0, 0}},
        // A day borrowed in January takes December's length and the year with it.
        {at(2007, 12, 20, 10, 0), at(2008, 1, 10, 10, 0), 30240, {0, 0, 0, 21, 0, 0}},
        // The borrowed month is the longer of the month before now and the quit month.
        {at(2008, 1, 31, 0, 0), at(2008, 3, 1, 0, 0), 30 * 1440, {0, 0, 1, 1, 0, 0}},
        {at(2008, 1, 31, 12, 0), at(2008, 3, 2, 11, 0), 31 * 1440 - 60, {0, 0, 1, 1, 23, 0}},
        // One minute borrows through every part.
        {at(2025, 12, 31, 23, 59), at(2026, 1, 1, 0, 0), 1, {0, 0, 0, 0, 0, 1}},
        {at(2024, 2, 29, 12, 0), at(2025, 3, 1, 12, 0), 366 * 1440, {0, 1, 0, 1, 0, 0}},
        {at(2007, 8, 26, 10, 23), at(2008, 8, 26, 10, 23), 366 * 1440, {0, 1, 0, 0, 0, 0}},
        // A clock set back shows the quit moment itself.
        {at(2008, 8, 26, 10, 23), at(2008, 8, 25, 9, 0), 0, {}},
        // A hand-edited quit moment off the calendar is taken at its nearest edge.
        {at(2008, 13, 40, 30, 99), at(2009, 1, 1, 0, 0), 1, {0, 0, 0, 0, 0, 1}},
        // Thousands of years ahead overflow nothing.
        {at(2008, 8, 26, 10, 23), at(9999, 12, 31, 23, 59), 4203042576, {0, 7991, 4, 5, 13, 36}}};
    for (const auto& c : cases) {
        const ElapsedTime e = elapsedSince(c.quit, c.now);
        EXPECT_EQ(e.minutes, c.minutes) << c.quit[1] << '-' << c.quit[2] << '-' << c.quit[3];
        EXPECT_EQ(e.parts, c.parts) << c.quit[1] << '-' << c.quit[2] << '-' << c.quit[3];
    }
}

} // namespace
