// The framework's entry point and the command line: AfxWinMain, the
// arguments the package's main hands over, CCommandLineInfo and the shell
// commands it asks for.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/crt/Crt.h"
#include "platform/kernel/Library.h"
#include "platform/mfc/App.h"
#include "platform/mfc/StandardIds.h"
#include "platform/mfc/Unsupported.h"

int __argc = 0;
char** __argv = nullptr;

namespace {

// The argument as the original's command line quotes it: in double quotes
// when it is empty or holds a blank, inner quotes escaped.
void appendQuoted(std::string& line, const char* arg) {
    bool quote = !*arg || std::strpbrk(arg, " \t\"");
    if (!quote) {
        line += arg;
        return;
    }
    line += '"';
    for (const char* p = arg; *p; ++p) {
        if (*p == '"') line += '\\';
        line += *p;
    }
    line += '"';
}

}  // namespace

int PlatformRunApplication(int argc, char** argv) {
    __argc = argc;
    __argv = argv;
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) line += ' ';
        appendQuoted(line, argv[i]);
    }
    return AfxWinMain(GetModuleHandleA(nullptr), nullptr, line.data(), SW_SHOWNORMAL);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPTSTR lpCmdLine, int nCmdShow) {
    CWinApp* pApp = AfxGetApp();
    if (!pApp) {
        std::fputs("AfxWinMain: no application object (declare one CWinApp-derived theApp)\n", stderr);
        return -1;
    }
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = lpCmdLine;
    pApp->m_nCmdShow = nCmdShow;
    if (!pApp->m_pszExeName && __argv && __argv[0]) {
        const char* name = std::strrchr(__argv[0], '/');
        pApp->m_pszExeName = ::strdup(name ? name + 1 : __argv[0]);
    }
    PlatformNameAfterTitle(*pApp);
    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd) pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}

// ---- The command line -------------------------------------------------------------

void CCommandLineInfo::ParseParam(LPCTSTR pszParam, BOOL bFlag, BOOL) {
    if (!bFlag) {
        // The first plain parameter is the file; with -pt the next ones name the printer.
        if (m_nShellCommand == FilePrintTo && !m_strFileName.IsEmpty()) {
            CString* next = m_strPrinterName.IsEmpty()  ? &m_strPrinterName
                            : m_strDriverName.IsEmpty() ? &m_strDriverName
                                                        : &m_strPortName;
            *next = pszParam;
        } else if (m_strFileName.IsEmpty()) {
            m_strFileName = pszParam;
            if (m_nShellCommand == FileNew) m_nShellCommand = FileOpen;
        }
        return;
    }
    struct Flag {
        const char* name;
        int command;
    };
    static const Flag flags[] = {{"p", FilePrint},
                                 {"pt", FilePrintTo},
                                 {"dde", FileDDE},
                                 {"register", AppRegister},
                                 {"regserver", AppRegister},
                                 {"unregister", AppUnregister},
                                 {"unregserver", AppUnregister}};
    for (const Flag& flag : flags)
        if (crt::_stricmp(pszParam, flag.name) == 0) m_nShellCommand = flag.command;
    if (crt::_stricmp(pszParam, "nologo") == 0) m_bShowSplash = FALSE;
    if (crt::_stricmp(pszParam, "embedding") == 0) {
        m_bRunEmbedded = TRUE;
        m_bShowSplash = FALSE;
    }
    if (crt::_stricmp(pszParam, "automation") == 0) {
        m_bRunAutomated = TRUE;
        m_bShowSplash = FALSE;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    for (int i = 1; i < __argc; ++i) {
        const char* param = __argv[i];
        BOOL bFlag = param[0] == '-' && param[1] != '\0';
        rCmdInfo.ParseParam(bFlag ? param + 1 : param, bFlag, i == __argc - 1);
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNothing: return TRUE;
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) OnFileNew();
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr && m_pMainWnd != nullptr;
    default: PlatformReportUnsupported("CWinApp::ProcessShellCommand (printing, DDE, registration)"); return FALSE;
    }
}
