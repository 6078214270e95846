// The application object: CWinThread and CWinApp, the document template
// list and the profile.
//
// The process has one application object at a time (AfxGetApp): the one
// most recently constructed and not yet destroyed.
//
// The profile is an INI file, by default $XDG_CONFIG_HOME/<app>/<app>.ini
// ($HOME/.config when XDG_CONFIG_HOME is unset or not absolute), where
// <app> is the application's name with '/' made '_'. m_pszProfileName
// holds the file's path (a POSIX path or a library path); SetProfileFile
// changes it. The file is read and written by the private-profile
// functions (platform/kernel/Profile.h).
#pragma once

#include "platform/mfc/Collections.h"
#include "platform/mfc/Docs.h"

class PLATFORM_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;

    virtual BOOL InitInstance() { return FALSE; }
    // The message loop: dispatches until WM_QUIT, runs OnIdle when the queue
    // is empty, and returns ExitInstance().
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }
    // Deletes the temporary window objects; FALSE: no more idle work.
    virtual BOOL OnIdle(LONG lCount);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    // The main window; cleared when it is destroyed, which also posts
    // WM_QUIT.
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;
};

class PLATFORM_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    // Sets the application's name when given (AfxSetAppName) and the
    // default profile file.
    explicit CWinApp(LPCTSTR lpszAppName = nullptr);
    // Closes the documents still open and deletes the templates.
    ~CWinApp() override;

    // The application takes ownership of the template.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const { return m_templateList.GetHeadPosition(); }
    CDocTemplate* GetNextDocTemplate(POSITION& rPosition) const;
    void CloseAllDocuments(BOOL bEndSession);
    BOOL SaveAllModified();
    // Nothing to hide without a screen.
    virtual void HideApplication() {}

    // The entry as a number: optional blanks, an optional sign and decimal
    // digits (later characters are ignored); the default when the file,
    // section or entry is missing or the value does not start with a
    // number. Values beyond the int range are clamped.
    UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    // The entry's text with surrounding blanks removed, or the default.
    CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null value removes the entry, a null entry the whole section. FALSE
    // when the file cannot be written (the old file is then unchanged) or
    // when the section or entry name is empty or holds a line end.
    BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    void SetProfileFile(LPCTSTR lpszPath);

    LPCTSTR m_pszAppName = nullptr;      // owned
    LPCTSTR m_pszProfileName = nullptr;  // owned
    int m_nCmdShow = SW_SHOWNORMAL;

protected:
    CPtrList m_templateList;
};

PLATFORM_API CWinApp* AfxGetApp();
PLATFORM_API CWinThread* AfxGetThread();
// The application's main window, or null.
PLATFORM_API CWnd* AfxGetMainWnd();
