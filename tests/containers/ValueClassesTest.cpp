#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "containers/CAddArrow.h"
#include "containers/CByte.h"
#include "containers/CGenerateGuid.h"
#include "containers/CStr.h"
#include "containers/Records.h"
#include "files/CUtils.h"
#include "platform/user/Windows.h"

TEST(CStrTest, CopiesUpToTheFirstZeroInAWholeSizeBuffer) {
    CStr empty(CString(""));
    ASSERT_NE(empty.m_pStr, nullptr);
    EXPECT_EQ(empty.m_pStr[0], '\0');

    CString withZero("abcd");
    withZero.SetAt(2, '\0');
    CStr s(withZero);
    EXPECT_STREQ(s.m_pStr, "ab");
    EXPECT_EQ(s.m_pStr[3], '\0');  // sized for all four characters

    char* raw = nullptr;
    {
        CNullStringPtr holder(CString("text"), raw);
        EXPECT_STREQ(raw, "text");
        CNullStringPtr copy = holder;
        EXPECT_NE(copy.m_pStr, holder.m_pStr);
    }

    CStr a(CString("one"));
    CStr b(CString("two"));
    a = b;
    EXPECT_NE(a.m_pStr, b.m_pStr);
    EXPECT_STREQ(a.m_pStr, "two");
    a = a;
    EXPECT_STREQ(a.m_pStr, "two");
    a.MakePtr(CString("three"));
    EXPECT_STREQ(a.m_pStr, "three");
}

TEST(CUtilsStringTest, NullStrPtrReleasesTheOldBuffer) {
    CUtils utils;
    char* p = nullptr;
    ASSERT_EQ(utils.NullStrPtr(CString("first"), p), 1);
    EXPECT_STREQ(p, "first");
    ASSERT_EQ(utils.NullStrPtr(CString("second"), p), 1);  // the first buffer is freed (ASan checks)
    EXPECT_STREQ(p, "second");
    delete[] p;
}

TEST(CByteTest, LoadEmptyAndCopy) {
    unsigned char data[] = {0, 1, 2, 255};
    CByte b(data, 4);
    EXPECT_EQ(b.GetLength(), 4u);
    EXPECT_EQ(std::memcmp(b.m_pData, data, 4), 0);
    b.Load(b.m_pData + 1, 2);  // from its own buffer
    EXPECT_EQ(b.GetLength(), 2u);
    EXPECT_EQ(b.m_pData[0], 1);
    b.Load(&b);
    EXPECT_EQ(b.GetLength(), 2u);
    CByte c = b;
    EXPECT_NE(c.m_pData, b.m_pData);
    c = b;
    EXPECT_EQ(c.m_pData[1], 2);
    b.Load(data, 0);
    EXPECT_EQ(b.GetLength(), 0u);
    b.Empty();
    b.Empty();
    EXPECT_EQ(b.m_pData, nullptr);
    b.Load(nullptr, 10);  // nothing to copy from: stays empty
    EXPECT_EQ(b.GetLength(), 0u);
}

TEST(CAddArrowTest, FieldsAndLongTexts) {
    CAddArrow a(1, 2, CString("a"), 3, CString("b"), 4);
    EXPECT_EQ(a.nValue1, 1);
    EXPECT_EQ(a.nValue2, 2);
    EXPECT_EQ(a.nValue3, 3);
    EXPECT_EQ(a.nValue4, 4);
    EXPECT_STREQ(a.szText1, "a");
    EXPECT_STREQ(a.szText2, "b");
    for (int len : {199, 200, 500}) {
        SCOPED_TRACE(len);
        CAddArrow l(0, 0, CString(std::string(len, 'x').c_str()), 0, CString("y"), 7);
        EXPECT_EQ(std::strlen(l.szText1), 199u);
        EXPECT_STREQ(l.szText2, "y");
        EXPECT_EQ(l.nValue4, 7);
    }
}

TEST(RecordsTest, DefaultConstructorsZeroAndAssignmentCopiesEveryWord) {
    ConnectionRecord c;
    for (DWORD w : c.m_dwData) EXPECT_EQ(w, 0u);
    ConnectionRecord d;
    d.m_dwData[20] = 7;
    c = d;
    EXPECT_EQ(c.m_dwData[20], 7u);
    NetMsg m;
    SocketRecord s;
    EXPECT_EQ(m.m_dwData[1] + s.m_dwData[1], 0u);
}

TEST(CUserInterface1Test, AddRecordSendsToTheWindowOrToNothing) {
    std::vector<UINT> seen;
    HWND hWnd = PlatformCreateWindowEx(
        [&](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
            if (msg == WM_USER + 27) seen.push_back(static_cast<UINT>(w + l + msg));
            return DefWindowProcA(h, msg, w, l);
        },
        0, "STATIC", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr);
    ASSERT_NE(hWnd, nullptr);
    CUserInterface1 ui{};
    ui.m_hWnd = hWnd;
    int record = 0;
    EXPECT_EQ(ui.AddRecord(&record), 1);
    EXPECT_EQ(seen, std::vector<UINT>{1051});  // sent at once, both parameters 0
    DestroyWindow(hWnd);
    EXPECT_EQ(ui.AddRecord(&record), 1);  // a dead handle gets nothing
    ui.m_hWnd = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(ui.AddRecord(&record), 1);
    EXPECT_EQ(seen.size(), 1u);
}

TEST(CGenerateGuidTest, FormIsThirtySixUpperHexWithUnderscores) {
    CString previous = "left over";
    for (int i = 0; i < 100; ++i) {
        CString g = "left over";
        CGenerateGuid make(g);
        ASSERT_EQ(g.GetLength(), 36);
        for (int k = 0; k < 36; ++k) {
            char ch = g[k];
            if (k == 8 || k == 13 || k == 18 || k == 23)
                EXPECT_EQ(ch, '_');
            else
                EXPECT_TRUE((ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'F')) << g;
        }
        EXPECT_NE(g, previous);
        EXPECT_EQ(g[14], '4');  // a version 4 GUID
        EXPECT_NE(CString("89AB").Find(g[19]), -1) << g;
        previous = g;
    }
}

TEST(CGenerateGuidTest, AChildOfForkDoesNotRepeatItsParentsGuids) {
    CString first;
    CGenerateGuid seeded(first);  // the parent's generator is in use before the fork
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        for (int i = 0; i < 50; ++i) {
            CString g;
            CGenerateGuid make(g);
            if (::write(pipeEnds[1], static_cast<LPCTSTR>(g), 36) != 36) ::_exit(1);
        }
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::set<std::string> parent;
    for (int i = 0; i < 50; ++i) {
        CString g;
        CGenerateGuid make(g);
        parent.insert(g.str());
    }
    char buffer[36];
    int fromChild = 0;
    while (::read(pipeEnds[0], buffer, sizeof buffer) == static_cast<ssize_t>(sizeof buffer)) {
        ++fromChild;
        EXPECT_EQ(parent.count(std::string(buffer, sizeof buffer)), 0u);
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_EQ(fromChild, 50);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}
