// The framework's collections: arrays, lists and maps, named and templated,
// against the behaviour hosts rely on, and what their Serialize stores.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/mfc/Archive.h"
#include "platform/mfc/Collections.h"
#include "platform/mfc/MemFile.h"

namespace {

// The bytes Serialize stores for the collection.
template <class Collection>
std::string Stored(Collection& collection) {
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        collection.Serialize(ar);
        ar.Close();
    }
    std::string bytes(static_cast<size_t>(file.GetLength()), '\0');
    file.SeekToBegin();
    file.Read(bytes.data(), static_cast<UINT>(bytes.size()));
    return bytes;
}

template <class Collection>
void Load(Collection& collection, const std::string& bytes) {
    CMemFile file(reinterpret_cast<BYTE*>(const_cast<char*>(bytes.data())), static_cast<UINT>(bytes.size()));
    CArchive ar(&file, CArchive::load);
    collection.Serialize(ar);
}

// Throws what a bad index or size throws; false when nothing is thrown.
template <class Call>
bool ThrowsInvalidArg(Call call) {
    try {
        call();
    } catch (CInvalidArgException* e) {
        e->Delete();
        return true;
    }
    return false;
}

}  // namespace

TEST(CollectionsTest, ArraysGrowInsertRemoveAndCheckTheirIndexes) {
    CStringArray names;
    EXPECT_EQ(names.GetUpperBound(), -1);
    EXPECT_EQ(names.Add("b"), 0);
    names.InsertAt(0, "a");
    names.SetAtGrow(3, "d");  // grows, the gap holds empty strings
    ASSERT_EQ(names.GetSize(), 4);
    EXPECT_EQ(names[0], "a");
    EXPECT_EQ(names[1], "b");
    EXPECT_TRUE(names[2].IsEmpty());
    names.RemoveAt(1, 2);
    ASSERT_EQ(names.GetSize(), 2);
    EXPECT_EQ(names.GetAt(1), "d");
    EXPECT_TRUE(ThrowsInvalidArg([&] { names.GetAt(2); }));
    EXPECT_TRUE(ThrowsInvalidArg([&] { names.RemoveAt(1, 2); }));

    CUIntArray numbers;
    numbers.SetSize(3);  // new elements are zero
    EXPECT_EQ(numbers[0] + numbers[1] + numbers[2], 0u);
    CDWordArray more;
    more.Add(7);
    more.Append(more);
    EXPECT_EQ(more.GetSize(), 2);
    EXPECT_EQ(more[1], 7u);

    int a = 1, b = 2;
    CTypedPtrArray<CPtrArray, int*> pointers;
    pointers.Add(&a);
    pointers.InsertAt(0, &b);
    EXPECT_EQ(*pointers[0] * 10 + *pointers.GetAt(1), 21);
}

TEST(CollectionsTest, ListsKeepPositionsAndFindByValue) {
    CStringList list;
    POSITION middle = list.AddTail("m");
    list.AddHead("h");
    list.AddTail("t");
    list.InsertBefore(middle, "before m");
    list.InsertAfter(nullptr, "tail");   // no position: the tail
    list.InsertBefore(nullptr, "head");  // and the head
    std::string walked;
    for (POSITION pos = list.GetHeadPosition(); pos;) walked += std::string(list.GetNext(pos)) + ",";
    EXPECT_EQ(walked, "head,h,before m,m,t,tail,");
    EXPECT_EQ(list.GetAt(middle), "m");  // positions survive other insertions
    EXPECT_EQ(list.Find("t"), list.FindIndex(4));
    EXPECT_EQ(list.Find("nothing"), nullptr);
    list.RemoveAt(middle);
    EXPECT_EQ(list.GetCount(), 5);
    EXPECT_EQ(list.RemoveHead(), "head");
    EXPECT_EQ(list.RemoveTail(), "tail");

    CObList objects;
    CStringArray one, two;  // any objects
    objects.AddTail(&one);
    objects.AddHead(&two);
    EXPECT_EQ(objects.GetHead(), &two);
    EXPECT_EQ(objects.GetTail(), &one);
    CTypedPtrList<CPtrList, int*> typed;
    int n = 5;
    typed.AddTail(&n);
    EXPECT_EQ(*typed.GetHead(), 5);
}

TEST(CollectionsTest, MapsLookUpReplaceRemoveAndVisitEveryEntry) {
    CMapStringToString words;
    words.SetAt("one", "1");
    words["two"] = "2";
    words.SetAt("one", "uno");  // replaces
    CString value;
    ASSERT_TRUE(words.Lookup("one", value));
    EXPECT_EQ(value, "uno");
    EXPECT_FALSE(words.Lookup("three", value));
    EXPECT_EQ(words.GetCount(), 2);
    EXPECT_TRUE(words.RemoveKey("two"));
    EXPECT_FALSE(words.RemoveKey("two"));

    CMapStringToPtr pointers;
    int values[300];
    for (int i = 0; i < 300; ++i) pointers.SetAt(CString(std::to_string(i)), &values[i]);  // grows past 17 buckets
    std::set<int> seen;
    POSITION pos = pointers.GetStartPosition();
    while (pos) {
        CString key;
        void* p;
        pointers.GetNextAssoc(pos, key, p);
        EXPECT_EQ(p, &values[std::stoi(std::string(key))]);
        seen.insert(std::stoi(std::string(key)));
    }
    EXPECT_EQ(seen.size(), 300u);
    void* found = nullptr;
    EXPECT_TRUE(pointers.Lookup("299", found));
    EXPECT_EQ(found, &values[299]);

    CMap<int, int, CString, const CString&> numbered;
    numbered[3] = "three";
    EXPECT_EQ(numbered[3], "three");
    EXPECT_EQ(numbered.GetCount(), 1);
}

TEST(CollectionsTest, SerializableCollectionsStoreCountsThenElements) {
    CStringArray names;
    names.Add("ab");
    names.Add("");
    CDWordArray numbers;
    numbers.Add(0x01020304);
    CStringList list;
    list.AddTail("x");
    CMapStringToString map;
    map.SetAt("k", "v");
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"string array", Stored(names)},
        {"dword array", Stored(numbers)},
        {"string list", Stored(list)},
        {"string map", Stored(map)},
    };
    const std::string expected[] = {
        std::string("\x02\x00"
                    "\x02"
                    "ab"
                    "\x00",
                    6),
        std::string("\x01\x00"
                    "\x04\x03\x02\x01",
                    6),
        std::string("\x01\x00"
                    "\x01x",
                    4),
        std::string("\x01\x00"
                    "\x01k"
                    "\x01v",
                    6),
    };
    for (size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].name);
        EXPECT_EQ(cases[i].bytes, expected[i]);
    }

    CStringArray namesAgain;
    Load(namesAgain, expected[0]);
    ASSERT_EQ(namesAgain.GetSize(), 2);
    EXPECT_EQ(namesAgain[0], "ab");
    CMapStringToString mapAgain;
    Load(mapAgain, expected[3]);
    CString value;
    EXPECT_TRUE(mapAgain.Lookup("k", value));
    EXPECT_EQ(value, "v");
}

TEST(CollectionsTest, TemplateArraysCopyAppendInsertAndShrinkTheirElements) {
    CArray<CString, LPCTSTR> words;
    words.SetSize(0, 16);
    words.Add("b");
    words.Add("c");
    CArray<CString, LPCTSTR> more;
    more.Add("a");
    more.InsertAt(1, &words);          // a, b, c
    EXPECT_EQ(more.Append(words), 3);  // index of the first appended
    more.SetAt(4, "C");
    CArray<CString, LPCTSTR> copy;
    copy.Add("gone");
    copy.Copy(more);  // replaces what was there
    const struct {
        const char* name;
        const CArray<CString, LPCTSTR>& array;
        std::string joined;
    } cases[] = {
        {"source after append", more, "a,b,c,b,C,"},
        {"copy", copy, "a,b,c,b,C,"},
        {"appended array unchanged", words, "b,c,"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string joined;
        for (INT_PTR i = 0; i < c.array.GetSize(); ++i) joined += std::string(c.array[i]) + ",";
        EXPECT_EQ(joined, c.joined);
    }
    copy.SetSize(2);  // the dropped strings are destroyed (a sanitizer build sees a leak otherwise)
    copy.FreeExtra();
    EXPECT_EQ(copy.GetUpperBound(), 1);
    copy.SetSize(3);
    EXPECT_TRUE(copy[2].IsEmpty());                     // grown elements are built afresh
    EXPECT_EQ(copy.GetData() + 1, &copy.ElementAt(1));  // contiguous
    copy.RemoveAll();
    EXPECT_TRUE(copy.IsEmpty());

    // Plain elements are stored as their bytes, after the count.
    CArray<WORD, WORD> numbers;
    numbers.Add(0x0102);
    numbers.Add(0x0304);
    EXPECT_EQ(Stored(numbers), std::string("\x02\x00\x02\x01\x04\x03", 6));
    CArray<WORD, WORD> numbersAgain;
    Load(numbersAgain, Stored(numbers));
    ASSERT_EQ(numbersAgain.GetSize(), 2);
    EXPECT_EQ(numbersAgain[1], 0x0304);
}

TEST(CollectionsTest, TemplateListsWalkBothWaysAndSpliceWholeLists) {
    CList<int, int> list;
    for (int i = 1; i <= 3; ++i) list.AddTail(i);
    CList<int, int> front;
    front.AddTail(-1);
    front.AddTail(0);
    list.AddHead(&front);  // keeps front's order: -1, 0, 1, 2, 3
    list.AddTail(&list);   // the list onto itself: once, not forever
    std::string backwards;
    for (POSITION pos = list.GetTailPosition(); pos;) backwards += std::to_string(list.GetPrev(pos)) + ",";
    EXPECT_EQ(backwards, "3,2,1,0,-1,3,2,1,0,-1,");
    POSITION first2 = list.Find(2);
    POSITION second2 = list.Find(2, first2);
    ASSERT_NE(second2, nullptr);
    EXPECT_NE(first2, second2);
    EXPECT_EQ(list.Find(2, second2), nullptr);
    list.SetAt(second2, 20);
    EXPECT_EQ(list.GetAt(list.FindIndex(8)), 20);
    EXPECT_EQ(list.FindIndex(10), nullptr);
    list.RemoveAll();
    EXPECT_TRUE(list.IsEmpty());
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
}

TEST(CollectionsTest, TemplateMapsKeepTheirTableSizeAndEmptyCleanly) {
    CMap<int, int, CString, LPCTSTR> names;
    names.InitHashTable(31);
    EXPECT_EQ(names.GetHashTableSize(), 31u);
    for (int i = 0; i < 10; ++i) names[i] = CString(std::to_string(i * i).c_str());
    names.InitHashTable(7);  // ignored while the map holds entries
    EXPECT_EQ(names.GetHashTableSize(), 31u);
    CString value;
    ASSERT_TRUE(names.Lookup(9, value));
    EXPECT_EQ(value, "81");
    int visited = 0;
    for (POSITION pos = names.GetStartPosition(); pos; ++visited) {
        int key = 0;
        names.GetNextAssoc(pos, key, value);
        EXPECT_EQ(value, CString(std::to_string(key * key).c_str()));
    }
    EXPECT_EQ(visited, 10);
    names.RemoveAll();
    EXPECT_TRUE(names.IsEmpty());
    EXPECT_EQ(names.GetStartPosition(), nullptr);
    EXPECT_FALSE(names.Lookup(9, value));
    names[4] = "again";  // usable after emptying
    EXPECT_EQ(names.GetCount(), 1);
}
