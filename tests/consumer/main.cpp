// An outside program built against an installed copy of the library, with
// nothing but the umbrella header: the library's classes and the platform
// calls their members rely on.
#include <CBasis1.h>

#include <cstdio>
#include <cstring>

int main() {
    CString guid;
    CGenerateGuid make(guid);

    CLinkedList<CAddArrow> arrows;
    CAddArrow arrow(1, 2, CString("from"), 3, CString("to"), 4);
    arrows.Add(&arrow);

    CStr text(guid);
    unsigned char bytes[] = {1, 2, 3};
    CByte block(bytes, sizeof bytes);

    // GetAppDir is named after the application; the name is the host's.
    AfxSetAppName("Consumer");
    bool named = std::strcmp(AfxGetAppName(), "Consumer") == 0;

    // Module handles, as AddFrame takes them: the library itself, loaded again.
    HMODULE library = LoadLibraryA("libCBasis1.so");
    bool loaded = library != nullptr && FreeLibrary(library);

    char drive[_MAX_DRIVE], dir[_MAX_DIR], title[_MAX_FNAME], ext[_MAX_EXT];
    crt::_splitpath("C:\\logs\\app12-04.LOG", drive, dir, title, ext);
    bool split = std::strcmp(dir, "\\logs\\") == 0 && std::strcmp(ext, ".LOG") == 0;

    crt::srand(1);
    bool random = crt::rand() == 41 && crt::rand() == 18467;

    // The string table the CMake build links in.
    bool strings = true;
#ifdef CONSUMER_RESOURCES
    CString loadedText;
    strings = loadedText.LoadString(7) && loadedText == "consumer strings";
#endif

    bool ok = strings && guid.GetLength() == 36 && arrows.m_nCount == 1 &&
              std::strcmp(arrows.m_pHead->pValue->szText2, "to") == 0 && std::strlen(text.m_pStr) == 36 &&
              block.GetLength() == 3 && named && loaded && split && random;
    std::printf("%s %s (name %d, module %d, split %d, rand %d, strings %d)\n", ok ? "consumer ok" : "consumer FAILED",
                text.m_pStr, named, loaded, split, random, strings);
    return ok ? 0 : 1;
}
