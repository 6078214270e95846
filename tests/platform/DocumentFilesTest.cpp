// Documents saved and opened through Serialize: the bytes in the file, the
// object records of serialisable classes, and saves that fail.
#include <gtest/gtest.h>

#include <string>

#include "platform/mfc/App.h"
#include "platform/mfc/Archive.h"
#include "platform/mfc/MessageBox.h"
#include "support/Sandbox.h"
#include "support/TempDir.h"

namespace {

// A serialisable object, stored by pointer.
class CShape : public CObject {
    DECLARE_SERIAL(CShape)
public:
    CShape() = default;
    explicit CShape(LONG nSide) : m_nSide(nSide) {}
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring())
            ar << m_nSide;
        else
            ar >> m_nSide;
    }
    LONG m_nSide = 0;
};
IMPLEMENT_SERIAL(CShape, CObject, 1)

class CSketch : public CDocument {
    DECLARE_DYNCREATE(CSketch)
public:
    ~CSketch() override { DeleteContents(); }
    void Serialize(CArchive& ar) override {
        if (ar.IsStoring()) {
            ar << m_strName << m_nCount;
        } else {
            ar >> m_strName >> m_nCount;
        }
        m_names.Serialize(ar);
        m_shapes.Serialize(ar);
        if (m_bFailStoring && ar.IsStoring()) AfxThrowArchiveException(CArchiveException::genericException);
    }
    void DeleteContents() override {
        m_strName.Empty();
        m_nCount = 0;
        m_names.RemoveAll();
        for (POSITION pos = m_shapes.GetHeadPosition(); pos;) delete m_shapes.GetNext(pos);
        m_shapes.RemoveAll();
    }
    CString m_strName;
    DWORD m_nCount = 0;
    CStringArray m_names;
    CObList m_shapes;
    bool m_bFailStoring = false;
};
IMPLEMENT_DYNCREATE(CSketch, CDocument)

class DocumentFilesTest : public TempDirTest {
protected:
    void SetUp() override {
        TempDirTest::SetUp();
        AfxSetMessageBoxEcho(false);
        AfxSetMessageBoxHook([this](const CString& text, UINT) {
            m_strMessages += text;
            return IDOK;
        });
    }
    void TearDown() override {
        AfxSetMessageBoxHook(nullptr);
        AfxSetMessageBoxEcho(true);
        TempDirTest::TearDown();
    }
    // A document with a name, a count, two names and three shapes, the
    // last one the first again.
    void Fill(CSketch& doc) {
        doc.m_strName = "ab";
        doc.m_nCount = 0x01020304;
        doc.m_names.Add("x");
        doc.m_names.Add("");
        auto* pShape = new CShape(5);
        doc.m_shapes.AddTail(pShape);
        doc.m_shapes.AddTail(new CShape(6));
        doc.m_shapes.AddTail(pShape);
    }
    CString m_strMessages;
};

// The file of Fill's document: each string its length byte then its
// characters; numbers little-endian; an array and a list their count as a
// WORD; a new class as 0xFFFF, its schema, its name's length and its name;
// an object of a class seen before as 0x8000 | the class's index; an object
// seen before as its own index (class 1, objects 2 and 3).
const std::string kSketchBytes = std::string(
                                     "\x02"
                                     "ab"
                                     "\x04\x03\x02\x01"  // name, count
                                     "\x02\x00"
                                     "\x01x"
                                     "\x00",
                                     12)  // names
                                 + std::string(
                                       "\x03\x00"  // three shapes
                                       "\xFF\xFF"
                                       "\x01\x00"
                                       "\x06\x00"
                                       "CShape"
                                       "\x05\x00\x00\x00"
                                       "\x01\x80"
                                       "\x06\x00\x00\x00"
                                       "\x02\x00",
                                       26);

}  // namespace

TEST_F(DocumentFilesTest, SavedDocumentHasTheArchiveLayoutAndOpensAgain) {
    CSketch doc;
    Fill(doc);
    doc.SetModifiedFlag();
    ASSERT_TRUE(doc.OnSaveDocument("C:\\sketch.skt"));
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(ReadFile("sketch.skt"), kSketchBytes);

    CSketch again;
    ASSERT_TRUE(again.OnOpenDocument("C:\\sketch.skt"));
    EXPECT_FALSE(again.IsModified());
    EXPECT_EQ(again.m_strName, "ab");
    EXPECT_EQ(again.m_nCount, 0x01020304u);
    ASSERT_EQ(again.m_names.GetSize(), 2);
    EXPECT_EQ(again.m_names[0], "x");
    ASSERT_EQ(again.m_shapes.GetCount(), 3);
    auto* pFirst = static_cast<CShape*>(again.m_shapes.GetHead());
    EXPECT_EQ(pFirst->m_nSide, 5);
    EXPECT_EQ(again.m_shapes.GetTail(), pFirst);  // the same object again, not a copy
    again.m_shapes.RemoveTail();
    doc.m_shapes.RemoveTail();
}

TEST_F(DocumentFilesTest, AFailedSaveLeavesTheOldFileAndSaysSo) {
    WriteFile("sketch.skt", "old");
    CSketch doc;
    Fill(doc);
    doc.m_bFailStoring = true;
    doc.SetModifiedFlag();
    EXPECT_FALSE(doc.OnSaveDocument("C:\\sketch.skt"));
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(ReadFile("sketch.skt"), "old");
    EXPECT_NE(m_strMessages.Find("sketch.skt"), -1);
    EXPECT_EQ(Snapshot(Posix()).size(), 1u);  // no temporary file left beside it
    doc.m_shapes.RemoveTail();
}

TEST_F(DocumentFilesTest, UnreadableFilesFailToOpenWithAMessage) {
    const struct {
        const char* name;
        std::string bytes;  // "" for no file at all
    } cases[] = {
        {"missing", ""},
        {"short", kSketchBytes.substr(0, 20)},
        {"unknown class", kSketchBytes.substr(0, 22) + std::string("\xFF\xFF\x01\x00\x06\x00"
                                                                   "CSquar",
                                                                   12)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_strMessages.Empty();
        if (!c.bytes.empty()) WriteFile("in.skt", c.bytes);
        CSketch doc;
        EXPECT_FALSE(doc.OnOpenDocument("C:\\in.skt"));
        EXPECT_NE(m_strMessages.Find("in.skt"), -1);
        EXPECT_TRUE(doc.m_strName.IsEmpty());  // half-read contents are dropped
    }
}
