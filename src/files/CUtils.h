// CUtils: one class of file, text, number, date, window and naming services.
// Its members are grouped by subject; each group is implemented in the
// subsystem it belongs to.
//
// A CUtils object owns the chain of file_name records its last directory
// listing built; failures are reported by returning m_bSuccess negated
// (0) with the reason in m_strError.
#pragma once

#include "files/FileRecords.h"
#include "platform/Strings.h"
#include "platform/Time.h"

class CBASIS1_API CUtils {
public:
    CUtils();
    CUtils(const CUtils&) = delete;
    CUtils& operator=(const CUtils&) = delete;
    virtual ~CUtils();

    // Strings

    // Hands the caller a new zero-terminated copy of str in rpsz, releasing
    // what rpsz held before. 0 (and a null rpsz) when memory runs out.
    int NullStrPtr(CString str, char*& rpsz);

    // ---- Text, number and date helpers ------------------------------------
    // Texts taken by reference are changed in place. The two-decimal text of
    // a number is its whole number of hundredths in decimal with a "." before
    // the last two digits: 12.3 is "12.30", 0.05 is ".5", -1.5 is "-1.50".

    // The current local time as asctime's text, "Wed Jan 02 02:03:55 1980\n".
    static CString Timestamp();
    // month (1-12), day and four-digit year of t's local date; m_bSuccess.
    // For a time before the epoch, or one the system cannot break down, all
    // three are 0 and the result is !m_bSuccess.
    int SplitDate(CTime t, int& month, int& day, int& year);
    // Whether t's local date is today's. Times before the epoch never are.
    bool DateIsToday(CTime t);
    // Every CR and LF becomes a space; the length stays.
    static void RemoveCarriageReturn(CString& str);
    // Every occurrence of ch becomes a space; the length stays.
    static void RemoveChar(unsigned char ch, CString& str);
    // Writes a zero character over the first space, keeping the recorded
    // length; the C-string view then ends there. No space: no change.
    static void TerminateAtSpace(CString& str);
    // Deletes every occurrence of sub from str, again and again until none is
    // left ("ab" out of "aabb" leaves ""). An empty sub changes nothing.
    static void ExtractAll(CString& str, CString sub);
    // The two-decimal text of f: the hundredths of f's shortest decimal form
    // (the one that reads back as f), truncated toward zero, so 12.345 is
    // "12.34" and 0.29 is ".29". Values beyond the 32-bit range of
    // hundredths saturate; NaN writes ".0".
    static void float_to_ascii(float f, CString& str);
    // Blanks every character of str that is not a digit or "." and trims the
    // blanks at both ends (str keeps that cleaned text), then reads it: the
    // digits before the first "." are the whole part, the digits after it a
    // number of hundredths (".5" is 0.05, "1.234" is 3.34). Never negative;
    // no digits read as 0. Digit runs beyond the int range saturate. Always 1.
    static int ascii_to_float(CString& str, float& f);
    // ---- end of text, number and date helpers -----------------------------

    // Directory listings

    // Frees the object's chain; m_pFirst and m_pCurrent become null.
    void Delete_file_names();

    file_name* m_pCurrent;
    file_name* m_pFirst;
    BOOL m_bSuccess;
    CString m_strError;
};
