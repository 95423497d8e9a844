#include <gtest/gtest.h>

#include "afx.h"

namespace {

class CShape : public CObject {
  DECLARE_DYNAMIC(CShape)
};
IMPLEMENT_DYNAMIC(CShape, CObject)

class CCircle : public CShape {
  DECLARE_DYNCREATE(CCircle)
};
IMPLEMENT_DYNCREATE(CCircle, CShape)

// No record of its own: it reports its base's.
class CUnrecordedCircle : public CCircle {};

class CSquare : public CShape {
  DECLARE_SERIAL(CSquare)
};
IMPLEMENT_SERIAL(CSquare, CShape, 1)

TEST(RuntimeClassTest, NamesAndKindsFollowInheritance) {
  CShape shape;
  CCircle circle;
  CUnrecordedCircle unrecorded;
  CSquare square;
  struct {
    const CObject* object;
    const char* name;
    bool isShape, isCircle, isSquare;
  } cases[] = {
      {&shape, "CShape", true, false, false},
      {&circle, "CCircle", true, true, false},
      {&unrecorded, "CCircle", true, true, false},
      {&square, "CSquare", true, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_STREQ(c.name, c.object->GetRuntimeClass()->m_lpszClassName);
    EXPECT_TRUE(c.object->IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_EQ(c.isShape, bool(c.object->IsKindOf(RUNTIME_CLASS(CShape))));
    EXPECT_EQ(c.isCircle, bool(c.object->IsKindOf(RUNTIME_CLASS(CCircle))));
    EXPECT_EQ(c.isSquare, bool(c.object->IsKindOf(RUNTIME_CLASS(CSquare))));
  }
  EXPECT_EQ(RUNTIME_CLASS(CShape), RUNTIME_CLASS(CCircle)->m_pBaseClass);
  EXPECT_EQ(RUNTIME_CLASS(CObject), RUNTIME_CLASS(CShape)->m_pBaseClass);
  EXPECT_FALSE(RUNTIME_CLASS(CShape)->IsDerivedFrom(RUNTIME_CLASS(CCircle)));
  EXPECT_TRUE(square.IsSerializable());
  EXPECT_FALSE(circle.IsSerializable());
  // Library classes carry their own records.
  CStringList list;
  EXPECT_STREQ("CStringList", list.GetRuntimeClass()->m_lpszClassName);
}

TEST(RuntimeClassTest, CreatesByRecordAndByName) {
  EXPECT_EQ(nullptr, RUNTIME_CLASS(CShape)->CreateObject());  // dynamic only
  CObject* made = CRuntimeClass::CreateObject("CCircle");
  ASSERT_NE(nullptr, made);
  EXPECT_TRUE(made->IsKindOf(RUNTIME_CLASS(CCircle)));
  delete made;
  EXPECT_EQ(RUNTIME_CLASS(CSquare), CRuntimeClass::FromName("CSquare"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName("CNoSuchClass"));
  EXPECT_EQ(nullptr, CRuntimeClass::FromName(nullptr));
}

TEST(RuntimeClassTest, DynamicDowncastChecksTheKind) {
  CCircle circle;
  CSquare square;
  CObject* asObject = &circle;
  EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CCircle, asObject));
  EXPECT_EQ(&circle, DYNAMIC_DOWNCAST(CShape, asObject));
  asObject = &square;
  EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CCircle, asObject));
  EXPECT_EQ(nullptr, DYNAMIC_DOWNCAST(CCircle, static_cast<CObject*>(nullptr)));
  EXPECT_EQ(&square, STATIC_DOWNCAST(CSquare, asObject));
}

TEST(ExceptionTest, DeleteFreesOnlyHeapExceptions) {
  // Run under the address sanitizer: a leak or a bad free fails the test.
  try {
    AfxThrowMemoryException();
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
    EXPECT_STREQ("CMemoryException", e->GetRuntimeClass()->m_lpszClassName);
    e->Delete();
  }
  CFileException onStack(CFileException::fileNotFound, 2, "a.ini");
  onStack.Delete();  // must not free an object it did not allocate
  char message[64];
  UINT help = 99;
  EXPECT_TRUE(onStack.GetErrorMessage(message, sizeof message, &help));
  EXPECT_STREQ("a.ini was not found.", message);
  EXPECT_EQ(0u, help);
  char tiny[4];
  EXPECT_TRUE(onStack.GetErrorMessage(tiny, sizeof tiny));
  EXPECT_STREQ("a.i", tiny);

  CException plain;
  message[0] = 'x';
  EXPECT_FALSE(plain.GetErrorMessage(message, sizeof message));
  EXPECT_STREQ("", message);
}

TEST(ExceptionTest, ResourceExceptionIsASimpleExceptionWithAMessage) {
  try {
    AfxThrowResourceException();
  } catch (CException* e) {
    EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CSimpleException)));
    EXPECT_STREQ("CResourceException", e->GetRuntimeClass()->m_lpszClassName);
    char message[64] = "";
    EXPECT_TRUE(e->GetErrorMessage(message, sizeof message));
    EXPECT_STRNE("", message);
    e->Delete();
  }
}

}  // namespace
