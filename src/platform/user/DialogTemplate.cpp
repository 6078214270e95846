// Reading dialog templates (DialogTemplate.h).
#include "platform/user/DialogTemplate.h"

namespace {

// A bounded little-endian reader: any read past the end sets the failure
// and gives zeros, so the parser checks once per field group.
class Reader {
public:
    Reader(const BYTE* pData, size_t cbData) : m_data(pData), m_size(cbData) {}

    bool Failed() const { return m_failed; }
    WORD Word() { return static_cast<WORD>(Take(2)); }
    DWORD Dword() { return static_cast<DWORD>(Take(4)); }
    short Short() { return static_cast<short>(Word()); }
    BYTE Byte() { return static_cast<BYTE>(Take(1)); }
    void AlignDword() { Skip((4 - m_pos % 4) % 4); }
    void Skip(size_t n) {
        if (n > m_size - m_pos)
            m_failed = true, m_pos = m_size;
        else
            m_pos += n;
    }
    const BYTE* Here() const { return m_data + m_pos; }

    // A zero-terminated UTF-16 string, as UTF-8.
    std::string String() {
        std::string out;
        for (;;) {
            unsigned unit = Word();
            if (m_failed || unit == 0) return out;
            unsigned code = unit;
            if (unit >= 0xD800 && unit < 0xDC00) {
                unsigned low = Word();
                if (m_failed || low == 0) return out;
                code = low >= 0xDC00 && low < 0xE000 ? 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00) : 0xFFFD;
            } else if (unit >= 0xDC00 && unit < 0xE000) {
                code = 0xFFFD;
            }
            AppendUtf8(out, code);
        }
    }

    platform::DialogName Name() {
        platform::DialogName name;
        WORD first = Word();
        if (first == 0xFFFF) {
            name.ordinal = Word();
        } else if (first != 0) {
            m_pos -= 2;
            name.text = String();
        }
        return name;
    }

private:
    unsigned long Take(size_t n) {
        if (m_failed || n > m_size - m_pos) {
            m_failed = true;
            m_pos = m_size;
            return 0;
        }
        unsigned long value = 0;
        for (size_t i = 0; i < n; ++i) value |= static_cast<unsigned long>(m_data[m_pos + i]) << (8 * i);
        m_pos += n;
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    const BYTE* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_failed = false;
};

constexpr DWORD kSetFont = 0x40;  // DS_SETFONT

}  // namespace

namespace platform {

const char* DialogClassFromOrdinal(WORD ordinal) {
    static const char* const names[] = {"Button", "Edit", "Static", "ListBox", "ScrollBar", "ComboBox"};
    return ordinal >= 0x80 && ordinal <= 0x85 ? names[ordinal - 0x80] : nullptr;
}

bool ParseDialogTemplate(const void* pData, size_t cbData, DialogTemplate* pOut) {
    if (!pData || !pOut) return false;
    Reader in(static_cast<const BYTE*>(pData), cbData);
    DialogTemplate& t = *pOut;
    t = DialogTemplate();
    WORD count = 0;
    t.extended = cbData >= 4 && in.Word() == 1 && in.Word() == 0xFFFF;
    if (t.extended) {
        t.helpId = in.Dword();
        t.exStyle = in.Dword();
        t.style = in.Dword();
    } else {
        in = Reader(static_cast<const BYTE*>(pData), cbData);
        t.style = in.Dword();
        t.exStyle = in.Dword();
    }
    count = in.Word();
    t.x = in.Short();
    t.y = in.Short();
    t.cx = in.Short();
    t.cy = in.Short();
    t.menu = in.Name();
    t.className = in.Name();
    t.title = in.String();
    if (t.style & kSetFont) {
        t.pointSize = in.Word();
        if (t.extended) {
            t.weight = in.Word();
            t.italic = in.Byte() != 0;
            t.charset = in.Byte();
        }
        t.face = in.String();
    }
    if (in.Failed()) return false;
    // Each item takes at least 18 bytes, so a count the bytes cannot hold
    // fails before anything is reserved for it.
    t.items.reserve(count < cbData / 18 ? count : cbData / 18);
    for (WORD i = 0; i < count; ++i) {
        in.AlignDword();
        DialogItemTemplate item;
        if (t.extended) {
            item.helpId = in.Dword();
            item.exStyle = in.Dword();
            item.style = in.Dword();
        } else {
            item.style = in.Dword();
            item.exStyle = in.Dword();
        }
        item.x = in.Short();
        item.y = in.Short();
        item.cx = in.Short();
        item.cy = in.Short();
        item.id = t.extended ? in.Dword() : in.Word();
        item.className = in.Name();
        item.title = in.Name();
        WORD extra = in.Word();
        const BYTE* pExtra = in.Here();
        in.Skip(extra);
        if (in.Failed()) return false;
        item.creationData.assign(pExtra, pExtra + extra);
        t.items.push_back(std::move(item));
    }
    return true;
}

}  // namespace platform
