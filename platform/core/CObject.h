// Root of the class hierarchy, with run-time class records: the program and its
// controls identify object kinds by record (IsKindOf) and by the record's name.
#pragma once

#include "Types.h"

class CObject;

struct PLATFORM_API CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;
  CObject* (*m_pfnCreateObject)();
  const CRuntimeClass* m_pBaseClass;

  CObject* CreateObject() const;
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;

  // Records of every class made with IMPLEMENT_DYNCREATE/IMPLEMENT_SERIAL or
  // IMPLEMENT_DYNAMIC, looked up by name (case-sensitive).
  static CRuntimeClass* FromName(LPCSTR lpszClassName);
  static CObject* CreateObject(LPCSTR lpszClassName);
};

// Registers a record at start-up so that FromName finds it.
struct PLATFORM_API AFX_CLASSINIT {
  explicit AFX_CLASSINIT(const CRuntimeClass* pNewClass);
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

// The override is declared without "override" so that the macro suits classes
// written either way; clang is told not to flag the mix.
#ifdef __clang__
#define TRELLIAN_QUIET_OVERRIDE_BEGIN \
  _Pragma("clang diagnostic push") _Pragma("clang diagnostic ignored \"-Winconsistent-missing-override\"")
#define TRELLIAN_QUIET_OVERRIDE_END _Pragma("clang diagnostic pop")
#else
#define TRELLIAN_QUIET_OVERRIDE_BEGIN
#define TRELLIAN_QUIET_OVERRIDE_END
#endif

#define DECLARE_DYNAMIC(class_name)                               \
 public:                                                          \
  static const CRuntimeClass class##class_name;                   \
  TRELLIAN_QUIET_OVERRIDE_BEGIN                                   \
  virtual CRuntimeClass* GetRuntimeClass() const;                 \
  TRELLIAN_QUIET_OVERRIDE_END

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, pfnNew)                         \
  const CRuntimeClass class_name::class##class_name = {#class_name, (int)sizeof(class class_name),  \
                                                       wSchema, pfnNew,                              \
                                                       RUNTIME_CLASS(base_class_name)};              \
  static const AFX_CLASSINIT _init_##class_name(RUNTIME_CLASS(class_name));                          \
  CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                  \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }   \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, wSchema)            \
  CObject* PASCAL class_name::CreateObject() { return new class_name; }   \
  IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, wSchema, class_name::CreateObject)

class PLATFORM_API CObject {
 public:
  static const CRuntimeClass classCObject;

  virtual ~CObject() = default;
  virtual CRuntimeClass* GetRuntimeClass() const;
  BOOL IsKindOf(const CRuntimeClass* pClass) const;
  BOOL IsSerializable() const;
  virtual void AssertValid() const {}

 protected:
  CObject() = default;
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

// The object itself when it is of (or derived from) pClass, else null.
PLATFORM_API CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);

#define DYNAMIC_DOWNCAST(class_name, object) \
  (static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), (object))))

#ifdef _DEBUG
#define STATIC_DOWNCAST(class_name, object)                                                   \
  (ASSERT((object) == nullptr || (object)->IsKindOf(RUNTIME_CLASS(class_name))),             \
   static_cast<class_name*>(object))
#else
#define STATIC_DOWNCAST(class_name, object) (static_cast<class_name*>(object))
#endif

// Diagnostics. ASSERT guards programming errors only, and only in debug builds;
// conditions a user, a file or the network can cause are handled, never asserted.
PLATFORM_API void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine);
PLATFORM_API void AfxTrace(LPCSTR lpszFormat, ...) __attribute__((format(printf, 1, 2)));

#ifdef _DEBUG
#define ASSERT(f) ((f) ? (void)0 : AfxAssertFailedLine(__FILE__, __LINE__))
#define VERIFY(f) ASSERT(f)
#define ASSERT_VALID(pOb) ((pOb) ? (pOb)->AssertValid() : AfxAssertFailedLine(__FILE__, __LINE__))
#define ASSERT_KINDOF(class_name, object) ASSERT((object)->IsKindOf(RUNTIME_CLASS(class_name)))
#define TRACE AfxTrace
#else
#define ASSERT(f) ((void)0)
#define VERIFY(f) ((void)(f))
#define ASSERT_VALID(pOb) ((void)0)
#define ASSERT_KINDOF(class_name, object) ((void)0)
#define TRACE(...) ((void)0)
#endif
#define TRACE0(sz) TRACE("%s", sz)
#define TRACE1(sz, p1) TRACE(sz, p1)
#define TRACE2(sz, p1, p2) TRACE(sz, p1, p2)
#define TRACE3(sz, p1, p2, p3) TRACE(sz, p1, p2, p3)
