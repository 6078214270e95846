// A module whose entry refuses to attach, as an extension module's DllMain
// does when its record cannot be initialised.
#include "platform/mfc/Modules.h"

namespace {

__attribute__((constructor)) void RefuseToAttach() { PlatformRefuseModuleLoad(); }

}  // namespace
