// Every CParse operation, in an order the input chooses, over a text the
// input holds; checks what each operation promises about the position and
// its results.
#include <cstdio>
#include <cstdlib>

#include "FuzzInput.h"
#include "text/CParse.h"

namespace {

bool AllWordCharacters(const CString& s) {
    for (int i = 0; i < s.GetLength(); ++i)
        if (!CParse::isAlNum(s.GetAt(i))) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const int steps = in.Byte() % 64;
    std::string program = in.Bytes(static_cast<size_t>(steps) * 2);
    std::string needle = in.Text(8);
    CParse parse{CString(in.Rest())};
    const uint32_t length = static_cast<uint32_t>(parse.m_strText.GetLength());
    const CString original = parse.m_strText;

    for (size_t i = 0; i + 1 < program.size(); i += 2) {
        const uint8_t op = static_cast<uint8_t>(program[i]) % 18;
        const uint8_t arg = static_cast<uint8_t>(program[i + 1]);
        const uint32_t before = parse.m_nPos;
        CString text("unchanged");
        switch (op) {
            case 0: parse.PassNonAlpha(); break;
            case 1: parse.PassAlpha(); break;
            case 2:
                parse.PassNonAlphaBackwards();
                FUZZ_CHECK(parse.m_nPos <= length && parse.m_nPos <= before);
                FUZZ_CHECK(parse.m_nPos == 0 || parse.isAlNum(parse.m_strText.GetAt(static_cast<int>(parse.m_nPos))));
                break;
            case 3:
                parse.PassAlphaBackwards();
                FUZZ_CHECK(parse.m_nPos <= length && parse.m_nPos <= before);
                FUZZ_CHECK(parse.m_nPos == 0 || !parse.isAlNum(parse.m_strText.GetAt(static_cast<int>(parse.m_nPos))));
                break;
            case 4: {
                unsigned int end = parse.GetNextNonAlphaPosition();
                FUZZ_CHECK(parse.m_nPos == before);
                FUZZ_CHECK(before >= length ? end == before : end >= before && end <= length);
                break;
            }
            case 5: parse.GoToNextAlphaPosition(); break;
            case 6:
                if (parse.GoToNextLine()) FUZZ_CHECK(parse.m_strText.GetAt(static_cast<int>(parse.m_nPos) - 1) == '\n');
                else FUZZ_CHECK(parse.m_nPos == before);
                break;
            case 7: {
                unsigned int at = parse.GetNextLinePos();
                FUZZ_CHECK(at == 0 || parse.m_strText.GetAt(static_cast<int>(at)) == '\n');
                break;
            }
            case 8:
                if (parse.GetNextLine(text)) {
                    FUZZ_CHECK(text.Find('\n') < 0);
                    FUZZ_CHECK(parse.m_nPos == before + static_cast<uint32_t>(text.GetLength()) + 1);
                } else {
                    FUZZ_CHECK(text == "unchanged" && parse.m_nPos == before);
                    FUZZ_CHECK(before > length || parse.m_strText.Find('\n', static_cast<int>(before)) < 0);
                }
                break;
            case 9:
                if (parse.GoPast(needle.c_str())) FUZZ_CHECK(parse.m_nPos <= length + 1);
                else FUZZ_CHECK(parse.m_nPos == before);
                break;
            case 10: {
                unsigned int at = parse.GetPos(needle.c_str());
                FUZZ_CHECK(at <= length);
                break;
            }
            case 11:
                if (parse.GetNextWord(text)) {
                    FUZZ_CHECK(!text.IsEmpty() && AllWordCharacters(text));
                    FUZZ_CHECK(parse.m_nPos >= static_cast<uint32_t>(text.GetLength()));
                } else {
                    FUZZ_CHECK(text.IsEmpty());
                }
                break;
            case 12: {
                CString copy = parse.m_strText;
                parse.RemoveAllNonAlphasExceptSpaces(copy);
                FUZZ_CHECK(copy.GetLength() == static_cast<int>(length));
                break;
            }
            case 13: parse.m_nPos = arg; break;              // anywhere, also past the end
            case 14: parse.m_nPos = length + arg % 3; break;  // at or just past the end
            case 15: parse.m_nPos = 0xFFFFFFF0u + arg % 16; break;
            case 16: {
                CParse copy = parse;
                copy.PassAlpha();
                break;
            }
            case 17: FUZZ_CHECK(parse.isAlNum(static_cast<char>(arg)) == parse.isAlNum(static_cast<char>(arg))); break;
        }
        if (op <= 1 || op == 5) FUZZ_CHECK(before >= length ? parse.m_nPos == before : parse.m_nPos <= length);
        FUZZ_CHECK(parse.m_strText.str() == original.str());  // the parser never changes its text
    }
    return 0;
}
