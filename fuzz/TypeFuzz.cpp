// CType's text conversions and names: whatever the text, StringToType and
// TypeToString agree with each other, and SetID keeps to its fields.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FuzzInput.h"
#include "types/CType.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in(data, size);
    const uint8_t choice = in.Byte();
    const std::string name = in.Text();
    CString text(in.Rest());

    CTypeID id;
    id.SetID(CString(name), text);
    FUZZ_CHECK(std::strlen(id.m_szName) < sizeof id.m_szName);
    FUZZ_CHECK(std::strlen(id.m_szTypeName) < sizeof id.m_szTypeName);

    CType probe;
    probe.is_generic_ctype_name(text);

    // A value created by the object itself and reached through LinkPtr.
    const int kinds[] = {15, 16, 17, 18, 19, 20, 21, 22, 23, 0, 7};
    CType created;
    created.m_nType = kinds[choice % (sizeof kinds / sizeof kinds[0])];
    void* linked = nullptr;
    created.LinkPtr(&linked);
    FUZZ_CHECK(linked == &created.m_Buffer);
    created.NewType();
    created.StringToType(text);
    CString first;
    const int hasValue = created.TypeToString(first);
    if (created.m_nType == 16) FUZZ_CHECK(first.str() == text.str());
    if (created.m_nType == 15) {
        FUZZ_CHECK(hasValue == 1);
        int back = 0;
        int* pBack = &back;
        CType reader(&pBack);
        reader.StringToType(first);
        FUZZ_CHECK(back == **static_cast<int**>(created.m_Value.m_pValue));
    }
    if (created.m_nType == 17) {
        float value = **static_cast<float**>(created.m_Value.m_pValue);
        float back = 0;
        float* pBack = &back;
        CType reader(&pBack);
        reader.StringToType(first);
        // Only decimal forms are read, so no text gives a NaN; an infinity
        // (a text beyond the range) is written "inf", which is no number.
        FUZZ_CHECK(!std::isnan(value));
        FUZZ_CHECK(std::isinf(value) ? back == 0
                                     : std::fabs(back - value) <= 5e-7f + std::fabs(value) * 1e-6f);
    }

    // Copies and assignment own their values and keep them apart.
    CType copy(created);
    CString second;
    FUZZ_CHECK(copy.TypeToString(second) == hasValue);
    if (created.m_nType != 22 && created.m_nType >= 15 && created.m_nType <= 23) FUZZ_CHECK(copy.m_Buffer != created.m_Buffer);
    if (created.m_nType == 15 || created.m_nType == 16) FUZZ_CHECK(second.str() == first.str());
    created = copy;
    created.NewType();
    copy = created;
    return 0;
}
