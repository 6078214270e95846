// The compiled resource format (.res), read from bytes.
//
// A compiled script is a run of records, each on a 4-byte boundary: a header
// (DataSize, HeaderSize, the type and the name, each either 0xFFFF and a
// 16-bit number or a zero-terminated UTF-16 text, padding to 4 bytes, then
// DataVersion, MemoryFlags, LanguageId, Version and Characteristics) and
// DataSize bytes of data at HeaderSize bytes from the record's start. The
// first record of a file is an empty marker (type and name 0, no data).
//
// The bytes may come from a damaged or hostile file: every size is checked
// against what is there, and a record that does not fit is refused with a
// reason instead of being read past.
#pragma once

#include <string>
#include <vector>

#include "platform/shared/Types.h"

namespace platform::res {

// A type or a name: a number, or a text (UTF-8; a UTF-16 unit that is half
// of no pair reads as U+FFFD).
struct ResourceId {
    bool isText = false;
    WORD number = 0;
    std::string text;
};

struct ResourceRecord {
    ResourceId type;
    ResourceId name;
    WORD language = 0;
    const BYTE* data = nullptr;
    DWORD size = 0;
};

// Appends the records of the blob (without the empty marker) to records.
// False, with the reason in *why (when not null), for a blob that is not a
// run of whole records; records then holds those read before the fault.
PLATFORM_API bool ParseResources(const BYTE* blob, size_t size, std::vector<ResourceRecord>& records, std::string* why);

// The UTF-16 text (little-endian units) in UTF-8.
PLATFORM_API std::string Utf16ToUtf8(const BYTE* units, size_t count);

}  // namespace platform::res
