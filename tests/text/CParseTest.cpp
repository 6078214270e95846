#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "text/CParse.h"

namespace {

std::vector<std::string> WordsOf(const CString& text) {
    CParse parse(text);
    std::vector<std::string> words;
    CString word;
    while (parse.GetNextWord(word)) words.push_back(word.str());
    EXPECT_TRUE(word.IsEmpty());
    return words;
}

// The word rule written out independently.
std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        bool isWord = (u < 128 && std::isalnum(u)) || c == '_' || c == '\\' || c == ':';
        if (isWord)
            word += c;
        else if (!word.empty())
            words.push_back(std::move(word)), word.clear();
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

}  // namespace

TEST(CParseTest, WordCharactersIncludePathAndScopeMarks) {
    for (char c : std::string("azAZ09_\\:")) EXPECT_TRUE(CParse::isAlNum(c)) << c;
    for (char c : std::string(" \t\r\n.-=;,[]!\"'/@`{~")) EXPECT_FALSE(CParse::isAlNum(c)) << int(c);
    EXPECT_FALSE(CParse::isAlNum('\0'));
    for (int c = 128; c < 256; ++c) EXPECT_FALSE(CParse::isAlNum(static_cast<char>(c))) << c;
}

TEST(CParseTest, ReadsWordsOfASourceLine) {
    EXPECT_EQ(WordsOf("int  my_var = C:\\Dir\\x;"), (std::vector<std::string>{"int", "my_var", "C:\\Dir\\x"}));
    EXPECT_EQ(WordsOf("CMyClass::Member(a)"), (std::vector<std::string>{"CMyClass::Member", "a"}));
    EXPECT_EQ(WordsOf("a b"), (std::vector<std::string>{"a", "b"}));  // a one-letter word at index 0
    EXPECT_EQ(WordsOf("x"), (std::vector<std::string>{"x"}));
    EXPECT_EQ(WordsOf("caf\xe9 na\xefve"), (std::vector<std::string>{"caf", "na", "ve"}));
    EXPECT_TRUE(WordsOf("").empty());
    EXPECT_TRUE(WordsOf(" ;; ").empty());
}

TEST(CParseTest, GetNextWordResultAndPosition) {
    CParse parse("  ab, c");
    CString word;
    EXPECT_EQ(parse.GetNextWord(word), 1u);
    EXPECT_EQ(word, "ab");
    EXPECT_EQ(parse.m_nPos, 4u);
    EXPECT_EQ(parse.GetNextWord(word), 1u);
    EXPECT_EQ(word, "c");
    EXPECT_EQ(parse.m_nPos, 7u);
    EXPECT_EQ(parse.GetNextWord(word), 0u);
    EXPECT_TRUE(word.IsEmpty());
    EXPECT_EQ(parse.m_nPos, 7u);

    parse.m_nPos = 100;  // beyond the end: no word, position kept
    word = "old";
    EXPECT_EQ(parse.GetNextWord(word), 0u);
    EXPECT_TRUE(word.IsEmpty());
    EXPECT_EQ(parse.m_nPos, 100u);

    CParse empty;
    EXPECT_EQ(empty.GetNextWord(word), 0u);
    EXPECT_EQ(empty.m_nPos, 0u);
}

TEST(CParseTest, MatchesAnIndependentSplitterOnRandomText) {
    std::mt19937 rng(7);
    const std::string alphabet = "ab_\\: \t\n.;=-\x80\xff\x01Z9";
    for (int round = 0; round < 300; ++round) {
        std::string text(rng() % 40, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        SCOPED_TRACE(text);
        EXPECT_EQ(WordsOf(CString(text)), SplitWords(text));
    }
}

TEST(CParseTest, ForwardPasses) {
    CParse parse("ab  cd");
    parse.PassAlpha();
    EXPECT_EQ(parse.m_nPos, 2u);
    EXPECT_EQ(parse.GetNextNonAlphaPosition(), 2u);
    parse.PassNonAlpha();
    EXPECT_EQ(parse.m_nPos, 4u);
    EXPECT_EQ(parse.GetNextNonAlphaPosition(), 6u);
    parse.PassAlpha();
    EXPECT_EQ(parse.m_nPos, 6u);
    parse.PassNonAlpha();
    EXPECT_EQ(parse.m_nPos, 6u);
    parse.m_nPos = 9;
    parse.PassAlpha();
    parse.GoToNextAlphaPosition();
    EXPECT_EQ(parse.m_nPos, 9u);
    EXPECT_EQ(parse.GetNextNonAlphaPosition(), 9u);

    CParse trailing("ab  ");
    trailing.m_nPos = 2;
    trailing.GoToNextAlphaPosition();
    EXPECT_EQ(trailing.m_nPos, 4u);
}

TEST(CParseTest, BackwardPasses) {
    CParse parse("ab  cd");
    parse.m_nPos = 0;
    parse.PassAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 0u);
    parse.m_nPos = 1;  // inside the first word
    parse.PassAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 0u);
    parse.m_nPos = 5;
    parse.PassAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 3u);
    parse.PassNonAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 1u);
    parse.m_nPos = 4;
    parse.PassNonAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 4u);

    // At or beyond the end: the zero after the text is the character there.
    for (uint32_t start : {6u, 7u, 4000000000u}) {
        SCOPED_TRACE(start);
        parse.m_nPos = start;
        parse.PassAlphaBackwards();
        EXPECT_EQ(parse.m_nPos, 6u);
        parse.m_nPos = start;
        parse.PassNonAlphaBackwards();
        EXPECT_EQ(parse.m_nPos, 5u);
    }
    CParse blanks("   ");
    blanks.m_nPos = 3;
    blanks.PassNonAlphaBackwards();
    EXPECT_EQ(blanks.m_nPos, 0u);
}

TEST(CParseTest, LinesAndLineFeeds) {
    CParse parse("one\r\ntwo\nrest");
    CString line;
    EXPECT_EQ(parse.GetNextLinePos(), 4u);
    ASSERT_EQ(parse.GetNextLine(line), 1u);
    EXPECT_EQ(line, "one\r");
    ASSERT_EQ(parse.GetNextLine(line), 1u);
    EXPECT_EQ(line, "two");
    EXPECT_EQ(parse.m_nPos, 9u);
    EXPECT_EQ(parse.GetNextLine(line), 0u);  // text after the last line feed is not a line
    EXPECT_EQ(line, "two");
    EXPECT_EQ(parse.m_nPos, 9u);
    EXPECT_EQ(parse.GoToNextLine(), 0u);
    EXPECT_EQ(parse.GetNextLinePos(), 0u);
    EXPECT_EQ(parse.m_nPos, 9u);

    // A text that starts with an empty line still yields every line.
    CParse leading("\nfirst\n");
    EXPECT_EQ(leading.GetNextLinePos(), 0u);  // the same as none
    ASSERT_EQ(leading.GetNextLine(line), 1u);
    EXPECT_EQ(line, "");
    ASSERT_EQ(leading.GetNextLine(line), 1u);
    EXPECT_EQ(line, "first");

    CParse jump("a\nb\n");
    EXPECT_EQ(jump.GoToNextLine(), 1u);
    EXPECT_EQ(jump.m_nPos, 2u);
    EXPECT_EQ(jump.GoToNextLine(), 1u);
    EXPECT_EQ(jump.m_nPos, 4u);
    EXPECT_EQ(jump.GoToNextLine(), 0u);
}

TEST(CParseTest, SearchesAndGoPast) {
    CParse parse("a=b");
    EXPECT_EQ(parse.GoPast("="), 1u);
    EXPECT_EQ(parse.m_nPos, 3u);  // the character after the match is passed too
    EXPECT_EQ(parse.GoPast("="), 0u);
    EXPECT_EQ(parse.m_nPos, 3u);

    CParse end("key=");
    EXPECT_EQ(end.GoPast("="), 1u);
    EXPECT_EQ(end.m_nPos, 5u);  // one beyond the length
    EXPECT_EQ(end.GoPast(""), 0u);
    CString word;
    EXPECT_EQ(end.GetNextWord(word), 0u);
    end.PassAlphaBackwards();
    EXPECT_EQ(end.m_nPos, 4u);

    CParse find("abcabc");
    EXPECT_EQ(find.GetPos("abc"), 0u);  // found at 0: the same as none
    EXPECT_EQ(find.GetPos("zz"), 0u);
    find.m_nPos = 1;
    EXPECT_EQ(find.GetPos("abc"), 3u);
    EXPECT_EQ(find.GetPos("ABC"), 0u);  // case-sensitive
    find.m_nPos = 50;
    EXPECT_EQ(find.GetPos("abc"), 0u);
    EXPECT_EQ(find.GoPast("c"), 0u);

    CParse copy = find;
    EXPECT_EQ(copy.m_nPos, 50u);
    EXPECT_EQ(copy.m_strText, "abcabc");
}

TEST(CParseTest, RemoveAllNonAlphasExceptSpacesKeepsTheLength) {
    CParse parse("text");
    CString s("a,b;[c] d!");
    EXPECT_EQ(parse.RemoveAllNonAlphasExceptSpaces(s), 1u);
    EXPECT_EQ(s, "a b [c] d ");
    EXPECT_EQ(parse.m_strText, "text");
    CString odd("x\xe9y\tz");
    odd.SetAt(1, '\0');
    parse.RemoveAllNonAlphasExceptSpaces(odd);
    EXPECT_EQ(odd.GetLength(), 5);
    EXPECT_EQ(odd, "x y z");
}
