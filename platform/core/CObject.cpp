#include "CObject.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <vector>

const CRuntimeClass CObject::classCObject = {"CObject", (int)sizeof(CObject), 0xFFFF, nullptr, nullptr};

namespace {

// Records register during static initialisation of every module that holds
// one, so the registry is built on first use and guarded for late loaders.
struct ClassRegistry {
  std::mutex lock;
  std::vector<const CRuntimeClass*> classes;
};

ClassRegistry& Registry() {
  static ClassRegistry* registry = new ClassRegistry;  // outlives every static destructor
  return *registry;
}

}  // namespace

AFX_CLASSINIT::AFX_CLASSINIT(const CRuntimeClass* pNewClass) {
  ClassRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.lock);
  registry.classes.push_back(pNewClass);
}

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass) {
    if (p == pBaseClass) return TRUE;
  }
  return FALSE;
}

CRuntimeClass* CRuntimeClass::FromName(LPCSTR lpszClassName) {
  if (!lpszClassName) return nullptr;
  if (std::strcmp(lpszClassName, "CObject") == 0) return RUNTIME_CLASS(CObject);
  ClassRegistry& registry = Registry();
  std::lock_guard<std::mutex> guard(registry.lock);
  for (const CRuntimeClass* p : registry.classes) {
    if (std::strcmp(p->m_lpszClassName, lpszClassName) == 0) return const_cast<CRuntimeClass*>(p);
  }
  return nullptr;
}

CObject* CRuntimeClass::CreateObject(LPCSTR lpszClassName) {
  const CRuntimeClass* p = FromName(lpszClassName);
  return p ? p->CreateObject() : nullptr;
}

CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

BOOL CObject::IsSerializable() const { return GetRuntimeClass()->m_wSchema != 0xFFFF; }

CObject* AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
  return (pObject && pObject->IsKindOf(pClass)) ? pObject : nullptr;
}

void AfxAssertFailedLine(LPCSTR lpszFileName, int nLine) {
  std::fprintf(stderr, "assertion failed: %s(%d)\n", lpszFileName ? lpszFileName : "?", nLine);
  std::abort();
}

void AfxTrace(LPCSTR lpszFormat, ...) {
  va_list args;
  va_start(args, lpszFormat);
  std::vfprintf(stderr, lpszFormat, args);
  va_end(args);
}
