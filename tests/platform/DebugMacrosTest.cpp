// The diagnostics macros as a _DEBUG build of a host sees them: TRACE to
// stderr, assertions that stop the program, object checks and dumps.
#define _DEBUG 1
#include <gtest/gtest.h>

#include "platform/mfc/Collections.h"
#include "platform/mfc/Debug.h"

TEST(DebugMacrosTest, TraceVerifyAndDumpWriteToStderr) {
    testing::internal::CaptureStderr();
    TRACE0("plain\n");
    TRACE2("%s %d\n", "two", 2);
    int evaluated = 0;
    VERIFY(++evaluated == 1);
    CStringArray array;
    ASSERT_VALID(&array);
    ASSERT_KINDOF(CObject, &array);
    afxDump << &array;
    afxDump << static_cast<const CObject*>(nullptr) << "\n";
    std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(evaluated, 1);
    EXPECT_EQ(said.find("plain\ntwo 2\na CStringArray at 0x"), 0u) << said;
    EXPECT_NE(said.find("NULL\n"), std::string::npos) << said;
}

TEST(DebugMacrosTest, FailedAssertionsNameTheLineAndStopTheProgram) {
    int line = __LINE__ + 1;
    auto failAssert = [] { ASSERT(1 + 1 == 3); };
    EXPECT_DEATH(failAssert(), "DebugMacrosTest.cpp\\(" + std::to_string(line) + "\\): assertion failed");
    CObList* pNull = nullptr;
    EXPECT_DEATH(ASSERT_VALID(pNull), "assertion failed");
    CStringArray array;
    EXPECT_DEATH(ASSERT_KINDOF(CObList, &array), "assertion failed");
}
