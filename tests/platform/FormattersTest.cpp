// SPDX-License-Identifier: MIT
#include "Formatters.h"

#include <gtest/gtest.h>

#include <unicode/locid.h>

namespace {

struct ByteCountCase {
    qint64 count;
    const char *text;
};

class ByteCountText : public testing::TestWithParam<ByteCountCase>
{
protected:
    static void SetUpTestSuite()
    {
        UErrorCode status = U_ZERO_ERROR;
        icu::Locale::setDefault(icu::Locale("en_US"), status);
    }
};

TEST_P(ByteCountText, MatchesTheFileManagerStyle)
{
    EXPECT_EQ(ByteCountFormatter::fileStyleString(GetParam().count).toStdString(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Formatters, ByteCountText, testing::Values(
    ByteCountCase{0, "Zero KB"},
    ByteCountCase{1, "1 byte"},
    ByteCountCase{2, "2 bytes"},
    ByteCountCase{999, "999 bytes"},
    ByteCountCase{1000, "1 KB"},
    ByteCountCase{1499, "1 KB"},
    ByteCountCase{1500, "2 KB"},
    ByteCountCase{10000, "10 KB"},
    ByteCountCase{11999, "12 KB"},
    ByteCountCase{999499, "999 KB"},
    ByteCountCase{999500, "1 MB"},        // would round to 1000 KB
    ByteCountCase{1500000, "1.5 MB"},
    ByteCountCase{12345678, "12.3 MB"},
    ByteCountCase{999950000, "1 GB"},
    ByteCountCase{1234567898, "1.23 GB"},
    ByteCountCase{1000000000000, "1 TB"},
    ByteCountCase{std::numeric_limits<qint64>::max(), "9.22 EB"},
    ByteCountCase{-1, "-1 byte"},
    ByteCountCase{-12345678, "-12.3 MB"}));

TEST(DateFormatter, NamesRecentDaysAndGivesOlderDatesInFull)
{
    UErrorCode status = U_ZERO_ERROR;
    icu::Locale::setDefault(icu::Locale("en_US"), status);
    const DateFormatter formatter;

    const QString now = formatter.string(std::chrono::time_point_cast<std::chrono::nanoseconds>(
        std::chrono::system_clock::now()));
    EXPECT_TRUE(now.startsWith(QLatin1String("Today"))) << now.toStdString();

    // 2001-09-09 01:46:40 UTC: far enough from any time zone's today.
    const Date old{std::chrono::seconds(1000000000)};
    const QString oldText = formatter.string(old);
    EXPECT_TRUE(oldText.contains(QLatin1String("2001"))) << oldText.toStdString();
    EXPECT_TRUE(oldText.contains(QLatin1String("Sep"))) << oldText.toStdString();
}

} // namespace
