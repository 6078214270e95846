#include <gtest/gtest.h>

#include <memory>

#include "platform/mfc/Objects.h"

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

TEST(ObjectsTest, KindOfFollowsTheBaseChain) {
    CDog dog;
    EXPECT_EQ(dog.GetRuntimeClass(), RUNTIME_CLASS(CDog));
    EXPECT_TRUE(dog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dog.IsKindOf(RUNTIME_CLASS(CPuppy)));  // a base is not of its derived kind
    EXPECT_FALSE(dog.IsKindOf(nullptr));
    CRock rock;
    EXPECT_FALSE(rock.IsKindOf(RUNTIME_CLASS(CAnimal)));
}

TEST(ObjectsTest, CreateObjectMakesTheMostDerivedClass) {
    std::unique_ptr<CObject> puppy(RUNTIME_CLASS(CPuppy)->CreateObject());
    ASSERT_NE(puppy, nullptr);
    EXPECT_EQ(puppy->GetRuntimeClass(), RUNTIME_CLASS(CPuppy));
    EXPECT_EQ(static_cast<CDog*>(puppy.get())->m_nBarks, 3);  // constructors ran
    EXPECT_EQ(RUNTIME_CLASS(CRock)->CreateObject(), nullptr);
}

TEST(ObjectsTest, FromNameFindsRegisteredClassesExactly) {
    EXPECT_EQ(CRuntimeClass::FromName("CDog"), RUNTIME_CLASS(CDog));  // registered by the program
    EXPECT_EQ(CRuntimeClass::FromName("CObject"), RUNTIME_CLASS(CObject));  // and by the platform
    for (const char* name : {"cdog", "CDo", ""}) EXPECT_EQ(CRuntimeClass::FromName(name), nullptr) << name;
    EXPECT_EQ(CRuntimeClass::FromName(nullptr), nullptr);
}
