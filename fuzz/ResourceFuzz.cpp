// A compiled resource blob from anywhere: every record read from it lies
// inside it (the sanitizers check each byte of its data is readable), and
// strings of any record read as whole UTF-8 however their units pair.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/kernel/ResourceFormat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<platform::res::ResourceRecord> records;
    std::string why;
    bool ok = platform::res::ParseResources(data, size, records, &why);
    if (!ok && why.empty()) __builtin_trap();
    unsigned sum = 0;
    for (const auto& record : records) {
        if (record.data < data || record.data + record.size > data + size) __builtin_trap();
        for (DWORD i = 0; i < record.size; ++i) sum += record.data[i];
        std::string text = platform::res::Utf16ToUtf8(record.data, record.size / 2);
        sum += static_cast<unsigned>(text.size());
    }
    return sum == 0xFFFFFFFFu ? 1 : 0;
}
