// The application object: CWinThread and CWinApp, the document template
// list and the profile.
//
// The process has one application object at a time (AfxGetApp): the one
// most recently constructed and not yet destroyed.
//
// The profile is an INI file, by default $XDG_CONFIG_HOME/<app>/<app>.ini
// ($HOME/.config when XDG_CONFIG_HOME is unset or not absolute), where
// <app> is the application's name with '/' made '_'; after
// SetRegistryKey(key) it is $XDG_CONFIG_HOME/<key>/<app>.ini. m_pszProfileName
// holds the file's path (a POSIX path or a library path); SetProfileFile
// changes it. The file is read and written by the private-profile
// functions (platform/kernel/Profile.h).
#pragma once

#include "platform/mfc/Collections.h"
#include "platform/mfc/Docs.h"
#include "platform/user/Icons.h"

class PLATFORM_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread() = default;

    virtual BOOL InitInstance() { return FALSE; }
    // The message loop: dispatches until WM_QUIT, runs OnIdle when the queue
    // is empty, and returns ExitInstance().
    virtual int Run();
    virtual int ExitInstance() { return m_nExitCode; }
    // Updates the main window's control bars (WM_IDLEUPDATECMDUI) on the
    // first call, deletes the temporary window objects; FALSE: no more idle
    // work.
    virtual BOOL OnIdle(LONG lCount);
    // Offers the message to the window objects from its window up to the
    // main window (each one's PreTranslateMessage); TRUE when one took it,
    // and the loop then neither translates nor dispatches it.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual CWnd* GetMainWnd() { return m_pMainWnd; }

    // The main window; cleared when it is destroyed, which also posts
    // WM_QUIT.
    CWnd* m_pMainWnd = nullptr;

protected:
    int m_nExitCode = 0;
};

// What the command line asks for, as ParseCommandLine fills it: a file
// name opens that file, no file name a new document. Flags start with '-'
// ('/' starts a path here): -nologo clears m_bShowSplash, -embedding and
// -automation set m_bRunEmbedded and m_bRunAutomated, -p and -pt print,
// -dde, -register, -regserver, -unregister and -unregserver set their
// shell commands. Other flags are ignored.
class PLATFORM_API CCommandLineInfo : public CObject {
public:
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppRegister, AppUnregister, FileNothing = -1 };

    CCommandLineInfo() = default;
    // One parameter, without its flag character; bLast for the last one.
    virtual void ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash = TRUE;
    BOOL m_bRunEmbedded = FALSE;
    BOOL m_bRunAutomated = FALSE;
    int m_nShellCommand = FileNew;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};

// The recent-files list: newest first, at most nSize entries, each path
// once. Kept in the profile's section lpszSection as entries lpszEntryFormat
// ("File%d", numbered from 1).
class PLATFORM_API CRecentFileList {
public:
    CRecentFileList(UINT nStart, LPCTSTR lpszSection, LPCTSTR lpszEntryFormat, int nSize, int nMaxDispLen = 0);
    virtual ~CRecentFileList() = default;

    int GetSize() const { return m_arrNames.GetSize(); }
    CString& operator[](int nIndex) { return m_arrNames[nIndex]; }
    // Puts the path first (made absolute), dropping an older copy and the
    // oldest entry when the list is full.
    virtual void Add(LPCTSTR lpszPathName);
    virtual void Remove(int nIndex);
    virtual void ReadList();
    virtual void WriteList();

    int m_nSize;
    UINT m_nStart;
    CString m_strSectionName;
    CString m_strEntryFormat;
    CStringArray m_arrNames;
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
    // Writes the recent-files list back to the profile.
    int ExitInstance() override;

    // The icons and cursors of the modules' scripts (found as the other
    // resources are: AfxFindResourceHandle), and the standard ones (IDI_,
    // IDC_); null when there is none (platform/user/Icons.h).
    HICON LoadIcon(LPCTSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCE(nIDResource)); }
    HICON LoadStandardIcon(LPCTSTR lpszIconName) const { return ::LoadIconA(nullptr, lpszIconName); }
    HCURSOR LoadCursor(LPCTSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCE(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCTSTR lpszCursorName) const { return ::LoadCursorA(nullptr, lpszCursorName); }

    // Fills rCmdInfo from __argv, one ParseParam per argument.
    void ParseCommandLine(CCommandLineInfo& rCmdInfo);
    // FileNew runs ID_FILE_NEW (OnFileNew when no map handles it), FileOpen
    // opens the file, FileNothing does nothing; FALSE when that failed, or
    // when a new or opened document left the application without a main
    // window. Printing, DDE and registration are not supported: they say so
    // on stderr and give FALSE.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // The document of that path when it is open already (its frame is
    // activated), else the file opened by the first template whose filter
    // extension it has, or the first template; null when it fails. The path
    // goes to the recent-files list.
    virtual CDocument* OpenDocumentFile(LPCTSTR lpszFileName);
    virtual void AddToRecentFileList(LPCTSTR lpszPathName);
    // The profile moves to $XDG_CONFIG_HOME/<key>/<app>.ini.
    void SetRegistryKey(LPCTSTR lpszRegistryKey);
    void SetRegistryKey(UINT nIDRegistryKey);
    // Reads the recent-files list (nMaxMRU entries, none for 0).
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    // Not supported on this platform: there is no shell registry (each
    // says so once on stderr).
    void EnableShellOpen();
    void RegisterShellFileTypes(BOOL bCompat = FALSE);
    // The 3D look is the only one here: these do nothing.
    BOOL Enable3dControls() { return TRUE; }
    BOOL Enable3dControlsStatic() { return TRUE; }
    void SetDialogBkColor(DWORD clrCtlBk = 0, DWORD clrCtlText = 0) { (void)clrCtlBk, (void)clrCtlText; }
    // Standard commands for the host's map: ON_COMMAND(ID_FILE_NEW,
    // CWinApp::OnFileNew) and so on. OnFileNew opens a new document of the
    // first template; OnFileOpen asks for a file with the open-file dialog
    // and opens it; OnAppExit closes the main window; OnFileMruFile opens a
    // recent file (a failure drops it from the list).
    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);
    afx_msg void OnHelp();

    // The entry as a number: optional blanks, an optional sign and decimal
    // digits (later characters are ignored); the default when the file,
    // section or entry is missing or the value does not start with a
    // number. Values beyond the int range are clamped.
    // The four profile calls are virtual, as in later versions of the
    // framework, so an application can watch or redirect them.
    virtual UINT GetProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nDefault);
    // FALSE, with the last error set, as WriteProfileString.
    virtual BOOL WriteProfileInt(LPCTSTR lpszSection, LPCTSTR lpszEntry, int nValue);
    // The entry's text with surrounding blanks removed, or the default.
    virtual CString GetProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszDefault = nullptr);
    // A null value removes the entry, a null entry the whole section. FALSE,
    // with the last error set, when the file cannot be written (the old file
    // is then unchanged) or when the section or entry name is empty or holds
    // a line end.
    virtual BOOL WriteProfileString(LPCTSTR lpszSection, LPCTSTR lpszEntry, LPCTSTR lpszValue);
    void SetProfileFile(LPCTSTR lpszPath);

    LPCTSTR m_pszAppName = nullptr;      // owned
    LPCTSTR m_pszProfileName = nullptr;  // owned
    int m_nCmdShow = SW_SHOWNORMAL;
    HINSTANCE m_hInstance = nullptr;
    LPTSTR m_lpCmdLine = nullptr;        // the arguments after the program's name; AfxWinMain's
    LPCTSTR m_pszRegistryKey = nullptr;  // owned
    LPCTSTR m_pszExeName = nullptr;      // owned: the program's file name without its folder
    LPCTSTR m_pszHelpFilePath = nullptr;
    CRecentFileList* m_pRecentFileList = nullptr;  // owned

protected:
    CPtrList m_templateList;

    DECLARE_MESSAGE_MAP()
};

// The program's arguments, as main received them (set by the entry point).
PLATFORM_API extern int __argc;
PLATFORM_API extern char** __argv;

// The framework's entry point: the application object (constructed as a
// static by then) gets its instance, command line and show state, then
// InitInstance runs; when it succeeds Run, which ends with ExitInstance,
// else ExitInstance at once (the main window, if any, destroyed first).
// The result is the program's exit status; -1 without an application
// object.
PLATFORM_API int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPTSTR lpCmdLine, int nCmdShow);
// What the package's main calls: sets __argc and __argv, makes the
// command line from the arguments and calls AfxWinMain.
PLATFORM_API int PlatformRunApplication(int argc, char** argv);
// An application that no one named (its constructor, AfxSetAppName) takes
// the name of its AFX_IDS_APP_TITLE string, as the original's does, and a
// profile that was the default follows the name; AfxWinMain calls it
// before InitInstance.
PLATFORM_API void PlatformNameAfterTitle(CWinApp& app);
// Controls in dialogs need nothing more here: does nothing.
inline void AfxEnableControlContainer() {}

PLATFORM_API CWinApp* AfxGetApp();
PLATFORM_API CWinThread* AfxGetThread();
// The application's main window, or null.
PLATFORM_API CWnd* AfxGetMainWnd();
