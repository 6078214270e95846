#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "files/CGetDirListing.h"
#include "files/CGetDirectoryListing.h"
#include "files/CUtils.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

class DirListingsTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        WriteFile("a.txt", "a");
        WriteFile("b.tar.gz", "b");
        WriteFile("README", "r");
        WriteFile("sub/inner.txt", "i");
        WriteFile("sub/deeper/d.txt", "d");
        WriteFile("sub/deeper/long " + std::string(120, 'n') + ".x", "");
        fs::create_directory_symlink(m_root, Posix("sub/back"));  // a loop, if it were followed
    }
};

std::vector<std::string> Names(const CGetDirListing& listing) {
    std::vector<std::string> names;
    for (auto* node = listing.m_Names.m_pHead; node; node = node->pNext) names.push_back((*node->pValue)->str());
    return names;
}

// Every path in the tree, relative to the root, as the listing gives them.
void Collect(const CGetDirListing& listing, const std::string& prefix, std::set<std::string>& out) {
    for (const std::string& name : Names(listing)) out.insert(prefix + name);
    for (auto* node = listing.m_pSubDirs->m_pHead; node; node = node->pNext) {
        CString path = (*node->pValue)->m_strPath;  // "C:\sub\*.*"
        std::string dir = path.Mid(3, path.ReverseFind('\\') - 3).str();
        for (char& c : dir) c = c == '\\' ? '/' : c;
        Collect(**node->pValue, dir + "/", out);
    }
}

TEST_F(DirListingsTest, TreeListsEveryNameOnceAndNeverFollowsLinks) {
    CGetDirListing tree("C:", "*.*");
    EXPECT_EQ(tree.m_strPath, "C:\\*.*");
    EXPECT_EQ(Names(tree), (std::vector<std::string>{"a.txt", "b.tar.gz", "README", "sub"}));
    ASSERT_EQ(tree.m_pSubDirs->m_nCount, 1u);

    std::set<std::string> listed, oracle;
    Collect(tree, "", listed);
    for (const auto& entry : fs::recursive_directory_iterator(m_root))
        oracle.insert(entry.path().lexically_relative(m_root).string());
    EXPECT_EQ(listed, oracle);
}

TEST_F(DirListingsTest, TreePatternFiltersEveryLevel) {
    CGetDirListing txt("C:", "*.txt");
    EXPECT_EQ(Names(txt), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(txt.m_pSubDirs->m_nCount, 0u);  // "sub" does not match, so it is not entered

    CGetDirListing s("C:", "s*");
    EXPECT_EQ(Names(s), std::vector<std::string>{"sub"});
    ASSERT_EQ(s.m_pSubDirs->m_nCount, 1u);
    EXPECT_TRUE(Names(**s.m_pSubDirs->m_pHead->pValue).empty());

    CGetDirListing missing("C:\\nowhere", "*.*");
    EXPECT_EQ(missing.m_Names.m_nCount, 0u);
    EXPECT_EQ(missing.m_pSubDirs->m_nCount, 0u);
}

TEST_F(DirListingsTest, BaseNamesStopAtTheFirstDotAndAreCutTo100) {
    CLinkedList<TextRecord> records;
    CGetDirectoryListing top("C:", "*.*", &records);
    std::vector<std::string> texts;
    for (auto* node = records.m_pHead; node; node = node->pNext) texts.push_back(node->pValue->m_szText);
    // ".", "..", a.txt, b.tar.gz, README, sub
    EXPECT_EQ(texts, (std::vector<std::string>{"", "", "a", "b", "", ""}));

    CLinkedList<TextRecord> deep;
    CGetDirectoryListing inner("C:\\sub\\deeper", "l*", &deep);
    ASSERT_EQ(deep.m_nCount, 1u);
    EXPECT_EQ(std::string(deep.m_pHead->pValue->m_szText), "long " + std::string(95, 'n'));

    CLinkedList<TextRecord> none;
    CGetDirectoryListing missing("C:\\nowhere", "*.*", &none);
    EXPECT_EQ(none.m_nCount, 0u);
}

TEST_F(DirListingsTest, ChainOpensWithStartAndIsReplacedByTheNextListing) {
    CUtils utils;
    void* first = nullptr;
    ASSERT_EQ(utils.GetDirectoryListing("C:\\", "*.t*", first), 1);
    std::vector<std::string> names;
    for (auto* record = static_cast<file_name*>(first); record; record = record->m_pNext)
        names.push_back(record->m_strName.str());
    EXPECT_EQ(names, (std::vector<std::string>{"start", "a.txt", "b.tar.gz"}));
    EXPECT_EQ(utils.m_pFirst, first);

    // No match: result 1, first null, and the earlier chain is freed.
    first = &utils;
    EXPECT_EQ(utils.GetDirectoryListing("C:\\", "*.none", first), 1);
    EXPECT_EQ(first, nullptr);
    EXPECT_EQ(utils.m_pFirst, nullptr);
    EXPECT_EQ(utils.m_pCurrent, nullptr);

    ASSERT_EQ(utils.GetDirectoryListing("C:\\sub", "\\*.*", first), 1);
    names.clear();
    for (auto* record = static_cast<file_name*>(first); record; record = record->m_pNext)
        names.push_back(record->m_strName.str());
    EXPECT_EQ(names, (std::vector<std::string>{"start", ".", "..", "back", "deeper", "inner.txt"}));
}

}  // namespace
