#include "containers/CGenerateGuid.h"

#include "platform/Guid.h"

CGenerateGuid::CGenerateGuid(CString& result) {
    GUID guid{};
    CoCreateGuid(&guid);  // on failure the zero GUID stays, by contract
    // The third group comes out in lower case here and is raised with the rest.
    result.Format("%08lX-%04X-%04x-%02X%02X-%02X%02X%02X%02X%02X%02X", static_cast<unsigned long>(guid.Data1),
                  guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3],
                  guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    result.Replace('-', '_');
    result.MakeUpper();
}
