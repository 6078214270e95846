// The framework's exceptions: CException and the kinds hosts catch
// (memory, not supported, resource, user), thrown as pointers that the
// catcher deletes with Delete(), and the TRY/CATCH macros, which delete
// the caught exception at END_CATCH unless THROW_LAST throws it on. The
// file and archive exceptions are in Files.h and Archive.h.
//
// Where the original differs: a failed new throws std::bad_alloc, not
// CMemoryException* (the framework does not replace the process's
// operator new); AfxThrowMemoryException throws CMemoryException*.
#pragma once

#include "platform/mfc/Objects.h"

class PLATFORM_API CException : public CObject {
    DECLARE_DYNAMIC(CException)
public:
    explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
    ~CException() override;

    // Deletes the exception, when it is one on the heap (m_bAutoDelete).
    void Delete();
    // The exception's text, cut to nMaxError characters with the
    // terminator; FALSE when it has none.
    virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
    // Shows the text (or nMessageID's, or a general one) in a message box
    // and returns the box's answer.
    virtual int ReportError(UINT nType = 0x00000030u /* MB_ICONEXCLAMATION */, UINT nMessageID = 0);

    BOOL m_bAutoDelete;
};

class PLATFORM_API CMemoryException : public CException {
    DECLARE_DYNAMIC(CMemoryException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class PLATFORM_API CNotSupportedException : public CException {
    DECLARE_DYNAMIC(CNotSupportedException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

class PLATFORM_API CResourceException : public CException {
    DECLARE_DYNAMIC(CResourceException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Thrown for an index outside an array, a negative size and the like.
class PLATFORM_API CInvalidArgException : public CException {
    DECLARE_DYNAMIC(CInvalidArgException)
public:
    BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Thrown after the user was told already: carries no message.
class PLATFORM_API CUserException : public CException {
    DECLARE_DYNAMIC(CUserException)
};

[[noreturn]] PLATFORM_API void AfxThrowMemoryException();
[[noreturn]] PLATFORM_API void AfxThrowNotSupportedException();
[[noreturn]] PLATFORM_API void AfxThrowResourceException();
[[noreturn]] PLATFORM_API void AfxThrowUserException();
[[noreturn]] PLATFORM_API void AfxThrowInvalidArgException();

// Copies text into a caller's buffer of nMaxError characters, cut to fit.
PLATFORM_API BOOL AfxCopyErrorText(LPCTSTR lpszText, LPTSTR lpszError, UINT nMaxError);

// The TRY block's record of the exception its CATCH took, deleted when the
// block ends.
struct AFX_EXCEPTION_LINK {
    CException* m_pException = nullptr;
    AFX_EXCEPTION_LINK() = default;
    AFX_EXCEPTION_LINK(const AFX_EXCEPTION_LINK&) = delete;
    AFX_EXCEPTION_LINK& operator=(const AFX_EXCEPTION_LINK&) = delete;
    ~AFX_EXCEPTION_LINK() {
        if (m_pException) m_pException->Delete();
    }
};

#define TRY                                   \
    {                                         \
        AFX_EXCEPTION_LINK _afxExceptionLink; \
        try {
#define CATCH(class_name, e) \
    }                        \
    catch (class_name * e) { \
        _afxExceptionLink.m_pException = e;
#define AND_CATCH(class_name, e) CATCH(class_name, e)
#define END_CATCH \
    }             \
    }
#define CATCH_ALL(e) CATCH(CException, e)
#define AND_CATCH_ALL(e) CATCH(CException, e)
#define END_CATCH_ALL END_CATCH
#define THROW(e) throw e
// Inside a CATCH: throws the caught exception on, which then is not deleted here.
#define THROW_LAST()                              \
    do {                                          \
        _afxExceptionLink.m_pException = nullptr; \
        throw;                                    \
    } while (0)
