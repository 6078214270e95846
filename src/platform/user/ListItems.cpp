// The list of a list box or combo box (ListItems.h).
#include "platform/user/ListItems.h"

#include <algorithm>
#include <cstring>

#include "platform/crt/Crt.h"
#include "platform/user/Controls.h"

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    size_t n = std::strlen(prefix);
    return text.size() >= n && crt::_strnicmp(text.c_str(), prefix, n) == 0;
}

}  // namespace

namespace user {

int ListItems::Add(const char* text, bool sorted) {
    auto at = m_items.end();
    if (sorted)
        at = std::upper_bound(m_items.begin(), m_items.end(), text,
                              [](const char* t, const Item& item) { return crt::_stricmp(t, item.text.c_str()) < 0; });
    int index = static_cast<int>(at - m_items.begin());
    m_items.insert(at, Item{text ? text : "", 0});
    if (m_selection >= index) ++m_selection;
    return index;
}

int ListItems::Insert(int index, const char* text) {
    if (index == -1) index = Count();
    if (index < 0 || index > Count()) return -1;
    m_items.insert(m_items.begin() + index, Item{text ? text : "", 0});
    if (m_selection >= index) ++m_selection;
    return index;
}

int ListItems::Delete(int index) {
    if (index < 0 || index >= Count()) return -1;
    m_items.erase(m_items.begin() + index);
    if (m_selection == index)
        m_selection = -1;
    else if (m_selection > index)
        --m_selection;
    return Count();
}

void ListItems::Clear() {
    m_items.clear();
    m_selection = -1;
}

const std::string* ListItems::Text(int index) const {
    return index >= 0 && index < Count() ? &m_items[static_cast<size_t>(index)].text : nullptr;
}

bool ListItems::SetData(int index, LPARAM data) {
    if (index < 0 || index >= Count()) return false;
    m_items[static_cast<size_t>(index)].data = data;
    return true;
}

LPARAM ListItems::Data(int index) const {
    return index >= 0 && index < Count() ? m_items[static_cast<size_t>(index)].data : LB_ERR;
}

bool ListItems::Select(int index) {
    if (index < -1 || index >= Count()) {
        m_selection = -1;
        return false;
    }
    m_selection = index;
    return true;
}

int ListItems::Find(int start, const char* text, bool exact) const {
    int n = Count();
    if (!text || n == 0) return -1;
    if (start < -1 || start >= n) start = -1;
    for (int step = 1; step <= n; ++step) {
        int i = (start + step) % n;
        const std::string& item = m_items[static_cast<size_t>(i)].text;
        if (exact ? crt::_stricmp(item.c_str(), text) == 0 : StartsWithNoCase(item, text)) return i;
    }
    return -1;
}

bool ListItems::OnMessage(UINT listMessage, WPARAM wParam, LPARAM lParam, bool sorted, LRESULT* pResult) {
    auto index = static_cast<int>(wParam);
    auto text = reinterpret_cast<const char*>(lParam);
    switch (listMessage) {
    case LB_ADDSTRING: *pResult = Add(text, sorted); return true;
    case LB_INSERTSTRING: *pResult = Insert(index, text); return true;
    case LB_DELETESTRING: *pResult = Delete(index); return true;
    case LB_RESETCONTENT:
        Clear();
        *pResult = 0;
        return true;
    case LB_GETCOUNT: *pResult = Count(); return true;
    case LB_GETCURSEL: *pResult = m_selection; return true;
    case LB_SETCURSEL: *pResult = Select(index) && index >= 0 ? index : LB_ERR; return true;
    case LB_GETTEXTLEN: {
        const std::string* item = Text(index);
        *pResult = item ? static_cast<LRESULT>(item->size()) : LB_ERR;
        return true;
    }
    case LB_GETTEXT: {
        // The caller's buffer holds the whole text, as the original
        // requires (LB_GETTEXTLEN + 1 bytes).
        const std::string* item = Text(index);
        auto* buffer = reinterpret_cast<char*>(lParam);
        if (!item || !buffer) {
            *pResult = LB_ERR;
            return true;
        }
        std::memcpy(buffer, item->c_str(), item->size() + 1);
        *pResult = static_cast<LRESULT>(item->size());
        return true;
    }
    case LB_FINDSTRING: *pResult = Find(index, text, false); return true;
    case LB_FINDSTRINGEXACT: *pResult = Find(index, text, true); return true;
    case LB_SELECTSTRING: {
        int found = Find(index, text, false);
        if (found >= 0) m_selection = found;
        *pResult = found;
        return true;
    }
    case LB_GETITEMDATA: *pResult = Data(index); return true;
    case LB_SETITEMDATA: *pResult = SetData(index, lParam) ? 0 : LB_ERR; return true;
    default: return false;
    }
}

}  // namespace user
