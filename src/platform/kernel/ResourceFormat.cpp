// Reading the records of a compiled resource blob, every size checked.
#include "platform/kernel/ResourceFormat.h"

namespace platform::res {

namespace {

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | p[1] << 8); }
DWORD ReadDword(const BYTE* p) { return static_cast<DWORD>(ReadWord(p)) | static_cast<DWORD>(ReadWord(p + 2)) << 16; }
size_t AlignUp4(size_t n) { return (n + 3) & ~static_cast<size_t>(3); }

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | cp >> 6);
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | cp >> 12);
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | cp >> 18);
        out += static_cast<char>(0x80 | (cp >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Reads a type or name field at header[at], within the header's end;
// advances at past it. False when the field runs past the end.
bool ReadId(const BYTE* header, size_t end, size_t& at, ResourceId& id) {
    if (end - at < 2) return false;
    if (ReadWord(header + at) == 0xFFFF) {
        if (end - at < 4) return false;
        id.number = ReadWord(header + at + 2);
        at += 4;
        return true;
    }
    size_t start = at;
    while (end - at >= 2 && ReadWord(header + at) != 0) at += 2;
    if (end - at < 2) return false;
    id.isText = true;
    id.text = Utf16ToUtf8(header + start, (at - start) / 2);
    at += 2;
    return true;
}

bool Fail(std::string* why, size_t offset, const char* what) {
    if (why) *why = "record at byte " + std::to_string(offset) + ": " + what;
    return false;
}

// DataVersion, MemoryFlags, LanguageId, Version, Characteristics.
constexpr size_t kTrailingFields = 16;
constexpr size_t kLanguageAt = 6;

}  // namespace

std::string Utf16ToUtf8(const BYTE* units, size_t count) {
    std::string out;
    out.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        uint32_t unit = ReadWord(units + 2 * i);
        if (unit >= 0xD800 && unit < 0xDC00 && i + 1 < count) {
            uint32_t low = ReadWord(units + 2 * (i + 1));
            if (low >= 0xDC00 && low < 0xE000) {
                AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++i;
                continue;
            }
        }
        AppendUtf8(out, unit >= 0xD800 && unit < 0xE000 ? 0xFFFD : unit);
    }
    return out;
}

bool ParseResources(const BYTE* blob, size_t size, std::vector<ResourceRecord>& records, std::string* why) {
    size_t offset = 0;
    while (offset < size) {
        size_t left = size - offset;
        if (left < 8) return Fail(why, offset, "shorter than a record header");
        const BYTE* record = blob + offset;
        size_t dataSize = ReadDword(record);
        size_t headerSize = ReadDword(record + 4);
        if (headerSize < 8) return Fail(why, offset, "header shorter than its sizes");
        if (headerSize > left) return Fail(why, offset, "header runs past the end");
        if (dataSize > left - headerSize) return Fail(why, offset, "data runs past the end");
        ResourceRecord r;
        size_t at = 8;
        if (!ReadId(record, headerSize, at, r.type) || !ReadId(record, headerSize, at, r.name))
            return Fail(why, offset, "type or name runs past the header");
        at = AlignUp4(at);
        if (at > headerSize || headerSize - at < kTrailingFields)
            return Fail(why, offset, "header too short for its fields");
        r.language = ReadWord(record + at + kLanguageAt);
        r.data = record + headerSize;
        r.size = static_cast<DWORD>(dataSize);
        bool marker = !r.type.isText && r.type.number == 0 && dataSize == 0;
        if (!marker) records.push_back(std::move(r));
        size_t next = AlignUp4(headerSize + dataSize);
        if (next >= left) break;  // the last record's padding may be left off
        offset += next;
    }
    return true;
}

}  // namespace platform::res
