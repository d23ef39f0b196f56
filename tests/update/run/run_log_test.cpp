#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/support/RecordingLog.h"
#include "update/run/RunLog.h"

TEST(RunLog, ErrorPairLogsTheNumberThenShowsTheMessageWithItsArguments)
{
    RecordingLog log;
    log.LogAndShowError(5005);
    log.LogAndShowError(5011, {"a.dll\nb.dll", "\"Сравнение файлов\""});
    EXPECT_EQ((std::vector<AnsiString>{"#3 5005", "#3 5011"}), log.Lines);
    ASSERT_EQ(2u, log.Errors.size());
    EXPECT_EQ(std::make_pair(5005, AnsiString()), log.Errors[0]);
    EXPECT_EQ(std::make_pair(5011, AnsiString("a.dll\nb.dll|\"Сравнение файлов\"")), log.Errors[1]);
}

TEST(RunLog, GuardedStepTurnsAThrowIntoTheExceptionLineAndAFailure)
{
    RecordingLog log;
    EXPECT_TRUE(log.Guarded([] { return true; }));
    EXPECT_FALSE(log.Guarded([] { return false; }));
    EXPECT_TRUE(log.Lines.empty());
    EXPECT_FALSE(log.Guarded([]() -> bool { throw std::runtime_error("disk full"); }, " "));
    EXPECT_EQ((std::vector<AnsiString>{"#26 disk full "}), log.Lines);
}
