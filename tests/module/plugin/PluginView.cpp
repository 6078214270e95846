// The plugin's dynamic class and the exports the module tests look up.
#include "platform/mfc/Modules.h"

#define PLUGIN_API __attribute__((visibility("default")))

class CPluginView : public CObject {
    DECLARE_DYNCREATE(CPluginView)
public:
    int m_nAnswer = 42;
};

IMPLEMENT_DYNCREATE(CPluginView, CObject)

namespace {

using UnloadProbe = void (*)(bool bClassFindable);
UnloadProbe unloadProbe = nullptr;

// Constructed with the module's other statics, so destroyed at unload with
// them; tells the probe whether the module's class was still registered.
struct StaticWithDestructor {
    ~StaticWithDestructor() {
        if (unloadProbe) unloadProbe(CRuntimeClass::FromName("CPluginView") != nullptr);
    }
} staticWithDestructor;

}  // namespace

extern "C" PLUGIN_API CRuntimeClass* GetDllView() { return RUNTIME_CLASS(CPluginView); }

extern "C" PLUGIN_API void SetUnloadProbe(UnloadProbe probe) { unloadProbe = probe; }
