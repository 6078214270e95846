#include "files/MakeDirectory.h"

#include "containers/CLinkedList.h"
#include "platform/crt/Stdio.h"

namespace {

// Frees the strings a component list points at.
struct Components : CLinkedList<CString*> {
    ~Components() override {
        for (MoveFirst(); m_pCurrent; MoveNext()) delete *m_pCurrent->pValue;
    }
};

}  // namespace

int MakeDirectory::CreateDirectoryA(CString path) {
    Components components;
    for (int start = 0, end; (end = path.Find('\\', start)) >= 0; start = end + 1) {
        CString* component = new CString(path.Mid(start, end - start));
        if (!components.Add(&component)) {
            delete component;
            return 0;
        }
    }
    CString accumulated;
    for (components.MoveFirst(); components.m_pCurrent; components.MoveNext()) {
        const CString& component = **components.m_pCurrent->pValue;
        accumulated += component;
        if (!component.IsEmpty() && !SetCurrentDirectoryA(accumulated) && !::CreateDirectoryA(accumulated, nullptr))
            return 0;
        accumulated += '\\';
    }
    return 1;
}
