// The frame tests' plugin modules, one source built several ways: which
// factories the module exports, and what its view factory returns, are set
// by the build (DLL_VIEW_CLASS, DLL_FRAME_CLASS).
#include "frame/CMDIChildFrame.h"
#include "platform/mfc/Docs.h"
#include "platform/mfc/Modules.h"

#define PLUGIN_EXPORT extern "C" __attribute__((visibility("default")))

class CPluginView : public CView {
    DECLARE_DYNCREATE(CPluginView)
};
IMPLEMENT_DYNCREATE(CPluginView, CView)

class CPluginFrame : public CMDIChildFrame {
    DECLARE_DYNCREATE(CPluginFrame)
};
IMPLEMENT_DYNCREATE(CPluginFrame, CMDIChildFrame)

class CPluginDoc : public CDocument {
    DECLARE_DYNCREATE(CPluginDoc)
};
IMPLEMENT_DYNCREATE(CPluginDoc, CDocument)

namespace {
int frameFactoryCalls = 0;
}  // namespace

#ifdef DLL_VIEW_CLASS
PLUGIN_EXPORT CRuntimeClass* GetDllView() { return DLL_VIEW_CLASS; }
#endif

#ifdef DLL_FRAME_CLASS
PLUGIN_EXPORT CRuntimeClass* GetDllFrame() {
    ++frameFactoryCalls;
    return DLL_FRAME_CLASS;
}
#endif

PLUGIN_EXPORT int FrameFactoryCalls() { return frameFactoryCalls; }
