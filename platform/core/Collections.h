// The non-template collections of the class library, on top of the templates.
#pragma once

#include "CollectionTemplates.h"

class PLATFORM_API CPtrList : public CList<void*, void*> {
  DECLARE_DYNAMIC(CPtrList)
 public:
  explicit CPtrList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class PLATFORM_API CObList : public CList<CObject*, CObject*> {
  DECLARE_DYNAMIC(CObList)
 public:
  explicit CObList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class PLATFORM_API CStringList : public CList<CString, const CString&> {
  DECLARE_DYNAMIC(CStringList)
 public:
  explicit CStringList(INT_PTR nBlockSize = 10) : CList(nBlockSize) {}
};

class PLATFORM_API CPtrArray : public CArray<void*, void*> {
  DECLARE_DYNAMIC(CPtrArray)
};

class PLATFORM_API CObArray : public CArray<CObject*, CObject*> {
  DECLARE_DYNAMIC(CObArray)
};

class PLATFORM_API CStringArray : public CArray<CString, const CString&> {
  DECLARE_DYNAMIC(CStringArray)
};

class PLATFORM_API CDWordArray : public CArray<DWORD, DWORD> {
  DECLARE_DYNAMIC(CDWordArray)
};

class PLATFORM_API CUIntArray : public CArray<UINT, UINT> {
  DECLARE_DYNAMIC(CUIntArray)
};

class PLATFORM_API CWordArray : public CArray<WORD, WORD> {
  DECLARE_DYNAMIC(CWordArray)
};

class PLATFORM_API CByteArray : public CArray<BYTE, BYTE> {
  DECLARE_DYNAMIC(CByteArray)
};

class PLATFORM_API CMapStringToString : public CMap<CString, LPCTSTR, CString, LPCTSTR> {
  DECLARE_DYNAMIC(CMapStringToString)
 public:
  explicit CMapStringToString(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class PLATFORM_API CMapStringToPtr : public CMap<CString, LPCTSTR, void*, void*> {
  DECLARE_DYNAMIC(CMapStringToPtr)
 public:
  explicit CMapStringToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class PLATFORM_API CMapStringToOb : public CMap<CString, LPCTSTR, CObject*, CObject*> {
  DECLARE_DYNAMIC(CMapStringToOb)
 public:
  explicit CMapStringToOb(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class PLATFORM_API CMapPtrToPtr : public CMap<void*, void*, void*, void*> {
  DECLARE_DYNAMIC(CMapPtrToPtr)
 public:
  explicit CMapPtrToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};

class PLATFORM_API CMapWordToPtr : public CMap<WORD, WORD, void*, void*> {
  DECLARE_DYNAMIC(CMapWordToPtr)
 public:
  explicit CMapWordToPtr(INT_PTR nBlockSize = 10) : CMap(nBlockSize) {}
};
