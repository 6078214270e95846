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
    EXPECT_TRUE(word.IsEmpty());  // callers that stop on an empty word stop here too
    return words;
}

// The word rule written out independently.
std::vector<std::string> SplitWords(const std::string& text) {
    std::vector<std::string> words(1);
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u < 128 && std::isalnum(u)) || c == '_' || c == '\\' || c == ':')
            words.back() += c;
        else if (!words.back().empty())
            words.emplace_back();
    }
    if (words.back().empty()) words.pop_back();
    return words;
}

}  // namespace

TEST(CParseTest, ReadsWords) {
    using Words = std::vector<std::string>;
    EXPECT_EQ(WordsOf("int  my_var = C:\\Dir\\x;"), (Words{"int", "my_var", "C:\\Dir\\x"}));
    EXPECT_EQ(WordsOf("CMyClass::Member(a)"), (Words{"CMyClass::Member", "a"}));
    EXPECT_EQ(WordsOf("a b"), (Words{"a", "b"}));  // a one-letter word at index 0
    EXPECT_EQ(WordsOf("caf\xe9 na\xefve"), (Words{"caf", "na", "ve"}));
    EXPECT_TRUE(WordsOf(" ;; ").empty());
    for (int c = 128; c < 256; ++c) EXPECT_FALSE(CParse::isAlNum(static_cast<char>(c))) << c;

    std::mt19937 rng(7);
    const std::string alphabet = "ab_\\: \t\n.;=-\x80\xff\x01Z9";
    for (int round = 0; round < 300; ++round) {
        std::string text(rng() % 40, ' ');
        for (char& c : text) c = alphabet[rng() % alphabet.size()];
        EXPECT_EQ(WordsOf(CString(text)), SplitWords(text)) << text;
    }
}

TEST(CParseTest, GetNextWordResultAndPosition) {
    CParse parse("  ab, c");
    CString word;
    EXPECT_EQ(parse.GetNextWord(word), 1u);
    EXPECT_EQ(word, "ab");
    EXPECT_EQ(parse.m_nPos, 4u);
    parse.GetNextWord(word);
    EXPECT_EQ(parse.GetNextWord(word), 0u);
    EXPECT_EQ(parse.m_nPos, 7u);

    parse.m_nPos = 100;  // beyond the end: no word, position kept
    EXPECT_EQ(parse.GetNextWord(word), 0u);
    EXPECT_EQ(parse.m_nPos, 100u);
    CParse empty;
    EXPECT_EQ(empty.GetNextWord(word), 0u);
}

TEST(CParseTest, PassesForwardAndBackward) {
    CParse parse("ab  cd");
    parse.PassAlpha();
    EXPECT_EQ(parse.m_nPos, 2u);
    parse.PassNonAlpha();
    EXPECT_EQ(parse.m_nPos, 4u);
    EXPECT_EQ(parse.GetNextNonAlphaPosition(), 6u);
    parse.m_nPos = 5;
    parse.PassAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 3u);
    parse.PassNonAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 1u);
    parse.PassAlphaBackwards();  // inside the first word
    EXPECT_EQ(parse.m_nPos, 0u);
    parse.PassAlphaBackwards();
    EXPECT_EQ(parse.m_nPos, 0u);

    // At or beyond the end: the zero after the text is the character there.
    for (uint32_t start : {6u, 7u, 4000000000u}) {
        parse.m_nPos = start;
        parse.PassAlpha();
        parse.GoToNextAlphaPosition();
        EXPECT_EQ(parse.m_nPos, start);
        EXPECT_EQ(parse.GetNextNonAlphaPosition(), start);
        parse.PassAlphaBackwards();
        EXPECT_EQ(parse.m_nPos, 6u);
        parse.m_nPos = start;
        parse.PassNonAlphaBackwards();
        EXPECT_EQ(parse.m_nPos, 5u);
    }
}

TEST(CParseTest, LinesAndLineFeeds) {
    CParse parse("one\r\ntwo\nrest");
    CString line;
    EXPECT_EQ(parse.GetNextLinePos(), 4u);
    ASSERT_EQ(parse.GetNextLine(line), 1u);
    EXPECT_EQ(line, "one\r");
    ASSERT_EQ(parse.GetNextLine(line), 1u);
    EXPECT_EQ(line, "two");
    EXPECT_EQ(parse.GetNextLine(line), 0u);  // text after the last line feed is not a line
    EXPECT_EQ(line, "two");
    EXPECT_EQ(parse.GoToNextLine(), 0u);
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

    CParse find("abcabc");
    EXPECT_EQ(find.GetPos("abc"), 0u);  // found at 0: the same as none
    EXPECT_EQ(find.GetPos("zz"), 0u);
    find.m_nPos = 1;
    EXPECT_EQ(find.GetPos("abc"), 3u);
    EXPECT_EQ(find.GetPos("ABC"), 0u);  // case-sensitive
}

TEST(CParseTest, RemoveAllNonAlphasExceptSpacesKeepsTheLength) {
    CParse parse("text");
    CString s("a,b;[c] d!");
    EXPECT_EQ(parse.RemoveAllNonAlphasExceptSpaces(s), 1u);
    EXPECT_EQ(s, "a b [c] d ");
    CString odd("x\xe9y\tz");
    odd.SetAt(1, '\0');
    parse.RemoveAllNonAlphasExceptSpaces(odd);
    EXPECT_EQ(odd, "x y z");
    EXPECT_EQ(parse.m_strText, "text");
}
