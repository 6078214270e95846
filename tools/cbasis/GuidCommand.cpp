// guid: a new GUID string.
#include <cstdio>

#include "Command.h"
#include "containers/CGenerateGuid.h"

namespace cbasis {
namespace {

int RunGuid(const Args& args);

const Command kGuid("guid", "guid", "print a new GUID string",
                    "Prints one GUID string: 32 upper-case hexadecimal digits in groups of\n"
                    "8, 4, 4, 4 and 12, joined by underscores.",
                    {}, RunGuid);

int RunGuid(const Args& args) {
    if (!args.operands.empty()) return UsageError(kGuid, "unexpected argument '" + args.operands[0] + "'");
    CString guid;
    CGenerateGuid make(guid);
    std::printf("%s\n", static_cast<LPCTSTR>(guid));
    return kOk;
}

}  // namespace
}  // namespace cbasis
