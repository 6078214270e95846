#include <gtest/gtest.h>

#include <memory>

#include "platform/Objects.h"

namespace {

class CAnimal : public CObject {
    DECLARE_DYNAMIC(CAnimal)
};

class CDog : public CAnimal {
    DECLARE_DYNCREATE(CDog)
public:
    int m_nBarks = 3;
};

class CPuppy : public CDog {
    DECLARE_DYNCREATE(CPuppy)
protected:
    CPuppy() = default;  // dynamic creation reaches protected constructors
};

class CRock : public CObject {
    DECLARE_DYNAMIC(CRock)
};

}  // namespace

IMPLEMENT_DYNAMIC(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)
IMPLEMENT_DYNCREATE(CPuppy, CDog)
IMPLEMENT_DYNAMIC(CRock, CObject)

TEST(ObjectsTest, RecordsDescribeTheirClass) {
    const CRuntimeClass* pDog = RUNTIME_CLASS(CDog);
    EXPECT_STREQ(pDog->m_lpszClassName, "CDog");
    EXPECT_EQ(pDog->m_nObjectSize, static_cast<int>(sizeof(CDog)));
    EXPECT_EQ(pDog->m_wSchema, 0xFFFFu);
    EXPECT_EQ(pDog->GetBaseClass(), RUNTIME_CLASS(CAnimal));
    EXPECT_EQ(RUNTIME_CLASS(CObject)->GetBaseClass(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CAnimal)->m_pfnCreateObject, nullptr);
}

TEST(ObjectsTest, KindOfFollowsTheBaseChain) {
    CDog dog;
    EXPECT_EQ(dog.GetRuntimeClass(), RUNTIME_CLASS(CDog));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CDog)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dog.IsKindOf(RUNTIME_CLASS(CPuppy)));  // a base is not of its derived kind
    EXPECT_FALSE(dog.IsKindOf(RUNTIME_CLASS(CRock)));
    EXPECT_FALSE(dog.IsKindOf(nullptr));

    EXPECT_TRUE(RUNTIME_CLASS(CPuppy)->IsDerivedFrom(RUNTIME_CLASS(CAnimal)));
    EXPECT_FALSE(RUNTIME_CLASS(CAnimal)->IsDerivedFrom(RUNTIME_CLASS(CPuppy)));
    CRock rock;
    EXPECT_FALSE(rock.IsKindOf(RUNTIME_CLASS(CAnimal)));
    EXPECT_TRUE(rock.IsKindOf(RUNTIME_CLASS(CObject)));
}

TEST(ObjectsTest, CreateObjectMakesTheMostDerivedClass) {
    std::unique_ptr<CObject> puppy(RUNTIME_CLASS(CPuppy)->CreateObject());
    ASSERT_NE(puppy, nullptr);
    EXPECT_EQ(puppy->GetRuntimeClass(), RUNTIME_CLASS(CPuppy));
    EXPECT_EQ(static_cast<CDog*>(puppy.get())->m_nBarks, 3);  // constructors ran

    EXPECT_EQ(RUNTIME_CLASS(CRock)->CreateObject(), nullptr);
    EXPECT_EQ(RUNTIME_CLASS(CObject)->CreateObject(), nullptr);
}

TEST(ObjectsTest, FromNameFindsRegisteredClassesExactly) {
    EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));  // registered by the program
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));  // and by the platform
    EXPECT_NE(CRuntimeClass::FromName("CDynLinkLibrary"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("cdog"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName("CDo"), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(""), nullptr);
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);

    std::unique_ptr<CObject> dog(CRuntimeClass::FromName("CDog")->CreateObject());
    EXPECT_TRUE(dog->IsKindOf(RUNTIME_CLASS(CAnimal)));
}
