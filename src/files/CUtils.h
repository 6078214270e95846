// CUtils: one class of file, text, number, date, window and naming services.
// Its members are grouped by subject; each group is implemented in the
// subsystem it belongs to.
//
// A CUtils object owns the chain of file_name records its last directory
// listing built; failures are reported by returning m_bSuccess negated
// (0) with the reason in m_strError.
#pragma once

#include <cstdio>

#include "files/FileRecords.h"
#include "platform/atl/Geometry.h"
#include "platform/atl/Strings.h"
#include "platform/gdi/Brushes.h"
#include "platform/mfc/Time.h"

class CArchive;
class CEdit;
class CRichEditCtrl;
class CMutex;
class CSplitterWnd;
class CWnd;
struct CRuntimeClass;

class CBASIS1_API CUtils {
public:
    CUtils();
    CUtils(const CUtils&) = delete;
    CUtils& operator=(const CUtils&) = delete;
    virtual ~CUtils();

    // -----------------------------------------------------------------
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

    // ---- Archive helpers (implemented in text/) -----------------------------
    // Byte blocks, fixed-size string fields and window ID records, stored
    // with no length, tag or padding of their own. Errors of the archive
    // itself (end of file, write failures) pass through as its exceptions.

    // Write buffer[0] to buffer[n - 1], respectively read n bytes into them,
    // one byte at a time; the caller's pointer stays. A count of 0 or less,
    // or a null buffer, writes or reads nothing.
    void ArchiveOutBytes(unsigned char*& buffer, int n, CArchive& ar);
    void ArchiveInBytes(unsigned char*& buffer, int n, CArchive& ar);
    // String i takes exactly sizes[i] bytes: its characters, then zeros; a
    // string of sizes[i] characters or more is cut to sizes[i] and has no
    // zero. The work buffer (bufSize bytes) bounds the text: at most
    // bufSize - 1 characters of a string go out or come in, the rest of a
    // longer field being written as zeros, respectively read and dropped, so
    // nothing is written or read past the buffer and the fields stay in
    // step. Null string or size arrays write and read nothing; a null string
    // pointer writes an empty field, and its field is read and dropped.
    void ArchiveOutStrings(unsigned char* buffer, unsigned int bufSize, CString** strings, unsigned int count,
                           unsigned int* sizes, CArchive& ar);
    void ArchiveInStrings(unsigned char* buffer, unsigned int bufSize, CString** strings, unsigned int count,
                          unsigned int* sizes, CArchive& ar);
    // 20 bytes: the ID (32 bits), then the window's normal (restored)
    // rectangle as left, top, right, bottom (32 bits each, signed). A null
    // window or one that is gone stores an empty rectangle.
    void ArchiveOutID(unsigned int id, CWnd* pWnd, CArchive& ar);
    // Reads a window ID record. A record cut short throws CArchiveException
    // with endOfFile, also in its rectangle (which Read alone would report
    // only by a short count).
    void ArchiveInID(unsigned int& id, RECT& rect, CArchive& ar);
    // ---- end of archive helpers ---------------------------------------------

    // ---- Window utilities (implemented in windows/) -------------------------

    // Sends (synchronously) WM_COPYDATA to the receiver, wParam 0, with
    // dwData = code, cbData = the text's length with its zero and lpData =
    // a private copy of the text, released after the send. A null text is
    // sent as an empty one.
    void SetViewStatus(char* text, HWND receiver, UINT code);
    // Loads the file (read as bytes) into rText, up to its first zero byte,
    // and makes it the control's whole text, repainted at once; m_bSuccess.
    // A missing file, a directory and a file of 2 GiB or more leave text and
    // control untouched and give !m_bSuccess; a file that exists but cannot
    // be opened gives !m_bSuccess after emptying rText and deleting the
    // control's selection (WM_CLEAR).
    int WriteFileToRichEditPane(CString path, CString& rText, CRichEditCtrl& control);
    // Runs the open-file dialog (structure size 76, a 100-character buffer,
    // "Open File", OFN_EXPLORER | OFN_FILEMUSTEXIST) and stores the chosen
    // path; a cancelled or failed dialog gives the empty text.
    void OpenFileDialog(HWND owner, CString& rPath);
    // The same with the single filter entry "*.TXT;*.DOC;*.BAK" (described so,
    // with an empty pattern), writing the path into the edit control.
    void OpenFileDialog(HWND owner, CEdit& edit);
    // Docks the child in the remaining area: at its right edge for side 2,
    // at its left edge for any other side, taking the area's full height and
    // the given width, which the area loses. The child gets that rectangle as
    // its normal position and is shown normal; its other placement fields
    // stay. A null child changes nothing.
    void SetChildWindowPlacement(CRect& area, CWnd* pChild, int width, int side);
    // A rectangle reaching left of 0 moves right so that it starts at 0,
    // keeping its width; top and bottom never change.
    void ResizeRect(CRect& rect);
    void ResizeRect(RECT& rect);
    // Releases the brush held in rBrush, makes a new one of the colour
    // (stored in rColor), and repaints the window's parent at once (erasing).
    void ChangeBackgroundColor(CWnd* pWnd, COLORREF color, COLORREF& rColor, HBRUSH& rBrush);
    // The normal position of the window's placement (for a child, in its
    // parent's client coordinates); empty for a null window or one that is gone.
    CRect GetWindowRect(CWnd* pWnd);
    // ---- end of window utilities ----------------------------------------------

    // ---- View switching (implemented in frame/) ---------------------------

    // Replaces the view in pane (row, column) by a new view of pViewClass
    // on the same document, at the old view's place. The document survives
    // even when that was its only view. The new view becomes the frame's
    // active view when the old one was, or when there was none. With
    // bInitialUpdate its frame runs InitialUpdateFrame; the view's
    // OnInitialUpdate runs in any case. A pane that holds no view is left
    // alone; when the new view cannot be created the pane stays empty and
    // m_strError says so.
    void SwitchViewInSplitter(CSplitterWnd* pSplitter, int row, int column, CRuntimeClass* pViewClass,
                              bool bInitialUpdate);

    // ---- end of view switching ---------------------------------------------

    // ---- Header guards and names (implemented in project/) ----------------

    // Gives the header text *pText a fresh include guard: the guard name
    // between "#if !defined(AFX_" and "__INCLUDED_)" becomes the new name
    // (strFallback when strNewName is empty), upper-cased, then "_H__" and a
    // new GUID string; every occurrence of the old guard name in the text
    // (#if, #define, the #endif comment) is rewritten. 1 when a guard was
    // rewritten; 0, text unchanged, when the text holds no guard of that
    // form (one whose name lacks "_H__" included).
    int GenerateGUIDforHeaderFile(CString* pText, CString strNewName, CString strFallback);
    // The same on the file strPath, rewritten in one step. A missing file
    // becomes an empty one; a file that exists but cannot be read, a binary
    // one (holding a zero byte) and a read-only one are left as they are.
    // Always 1.
    int GenerateGUIDforHeaderFile(CString strPath, CString strNewName, CString strFallback);
    // The same with what was done: 1 when the file's guard was rewritten
    // (rGuard is then the new guard name, "MYVIEW_H__" and the GUID); 0 when
    // there was nothing to rewrite: no guard, a binary or a read-only file
    // (m_strError says which); -1 when the file could not be read or written
    // (m_strError, and the thread's undone hook, say why). The file is read
    // in blocks, never whole; a guard name longer than 4,096 characters
    // counts as no guard. A missing file is not created here.
    int RenewHeaderGuard(CString strPath, CString strNewName, CString strFallback, CString& rGuard);
    // The text after the fifth underscore from the end: the GUID string of a
    // name built as text, '_' and a GUID string (a trailing extension stays).
    // Empty when the name holds fewer than five underscores.
    CString GetIDFromFilename(CString strName);
    // rName receives a new GUID string. Always 1; the second text is not used.
    int CreateName(CString& rName);
    int CreateName(CString& rName, CString strUnused);

    // ---- end of header guards and names -----------------------------------

    // ---- Mutexes (implemented in sync/) -----------------------------------

    // Stores in out a new CMutex named with a fresh GUID string and owned by
    // nobody; the caller deletes it. m_bSuccess; when the mutex could not be
    // made, its negation with the reason in m_strError (out then holds a
    // CMutex without a handle, still the caller's to delete).
    int CreateMutexA(CMutex*& out);

    // ---- end of mutexes ---------------------------------------------------

    // -----------------------------------------------------------------
    // Directory listings

    // Builds the object's chain for the entries of dir + pattern (nothing is
    // put between them: dir ends with a backslash, or pattern starts with
    // one): a "start" record, then one record per match, "." and ".."
    // included, in the finder's order. first receives the chain's first
    // record (a file_name*), or null when nothing matched. The chain replaces
    // the object's previous one and stays valid until the next listing,
    // Delete_file_names or destruction. 1; 0 with "Out of Memory" when a
    // record cannot be allocated (first is then not set).
    int GetDirectoryListing(CString dir, CString pattern, void*& first);
    // Frees the object's chain; m_pFirst and m_pCurrent become null.
    void Delete_file_names();

    // -----------------------------------------------------------------
    // Paths and file names

    // "%s%s%d.%s" of dir, the first four characters of name, a random number
    // below 9999 and ext (without its dot), naming a file that does not exist
    // yet. After 500 numbers that all named existing files (or when the
    // random chain runs dry), the last candidate is returned although its
    // file exists.
    CString UniqueFileName(CString name, CString dir, CString ext);
    // The running program's directory, without a trailing backslash.
    void GetRootDir(CString& dir);
    // GetRootDir up to the first occurrence of the application's name
    // (AfxGetAppName), so for C:\work\tool\bin and "tool" it is C:\work\;
    // empty when the name does not occur.
    void GetAppDir(CString& dir);

    // -----------------------------------------------------------------
    // File operations

    // Copies source to target with the source's times and read-only
    // attribute. The target is replaced only by a complete copy: the data
    // goes to a new file beside the target, which then takes the target's
    // name in one step, so a failed copy leaves an existing target as it was.
    // 1; 0 with "Cannot open %s !" when the source cannot be opened; 0 after
    // the message box "Can not create target file '...' !" when the copy
    // cannot be created. A read-only or directory target, and read, write or
    // status failures, throw CFileException* (nothing is left behind).
    int CopyFileA(char* source, char* target);
    // The file's size in bytes; -1 when its status cannot be read.
    long GetFileSize(CString name);
    // 1 when the file opens for reading and is not empty; else 0 with
    // "%s file < 0\n" (a file that cannot be opened ends with that text too).
    int ValidFile(CString name);
    // ValidFile up to 10 times in a row; 0 with "File not valid".
    int GetValidFile(CString name);
    // Replaces the file's contents with the text's characters (binary mode);
    // writes nothing when the file cannot be opened.
    void SaveStringToFile(CString text, CString name);
    // Write the text's characters to an open stream; 1.
    int WriteToFile(FILE* stream, CString& text);
    int WriteToFile(FILE* stream, char* text);
    // Starts the command line's program (CreateProcessA, no shell) and does
    // not wait for it; a failure is not reported.
    void Launch(CString commandLine);

    // -----------------------------------------------------------------
    // Data

    file_name* m_pCurrent;
    file_name* m_pFirst;
    BOOL m_bSuccess;
    CString m_strError;
};
