// The list of strings a list box and a combo box keep: items with their
// data, the selection, sorting and finding as the original's list box does
// them (case-insensitive; a find starts after an index and wraps).
#pragma once

#include <string>
#include <vector>

#include "platform/shared/Types.h"

namespace user {

class ListItems {
public:
    int Count() const { return static_cast<int>(m_items.size()); }
    // Where text goes: in order when sorted (after equal ones), else at the
    // end. Returns the index.
    int Add(const char* text, bool sorted);
    // At index (-1: the end); -1 for an index past the end.
    int Insert(int index, const char* text);
    // The remaining count, or -1 for a bad index.
    int Delete(int index);
    void Clear();
    // -1 for a bad index.
    const std::string* Text(int index) const;
    bool SetData(int index, LPARAM data);
    LPARAM Data(int index) const;

    int Selection() const { return m_selection; }
    // -1 clears the selection; false for any other index out of range.
    bool Select(int index);

    // The first item after start (-1: from the top), wrapping, that begins
    // with text (exact: equals it), case-insensitively; -1 when none does.
    int Find(int start, const char* text, bool exact) const;

    // Answers the list messages both controls share, given in list-box
    // numbers; *pResult is the answer. False for any other message.
    bool OnMessage(UINT listMessage, WPARAM wParam, LPARAM lParam, bool sorted, LRESULT* pResult);

private:
    struct Item {
        std::string text;
        LPARAM data = 0;
    };
    std::vector<Item> m_items;
    int m_selection = -1;
};

}  // namespace user
