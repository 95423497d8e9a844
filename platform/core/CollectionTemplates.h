// Collection templates: arrays, doubly linked lists and hash maps.
// POSITION is an opaque pointer to a list node or map association; a position
// stays valid until its own element is removed, so removing the element that
// GetNext/GetNextAssoc has just stepped over is safe while iterating.
// An index out of range throws CInvalidArgException*, never touches memory.
#pragma once

#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "CException.h"
#include "CObject.h"
#include "CString.h"

struct CPositionTag;
typedef CPositionTag* POSITION;

#define BEFORE_START_POSITION ((POSITION)-1L)

template <class TYPE, class ARG_TYPE>
BOOL CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2) {
  return *pElement1 == *pElement2;
}

// Hash of a map key: integers and pointers hash by value, texts by content.
template <class ARG_KEY>
inline UINT HashKey(ARG_KEY key) {
  if constexpr (std::is_pointer_v<std::decay_t<ARG_KEY>>) {
    auto v = static_cast<ULONGLONG>(reinterpret_cast<uintptr_t>(key));
    return static_cast<UINT>((v >> 4) ^ (v >> 32));  // allocations are aligned
  } else {
    auto v = static_cast<ULONGLONG>(key);
    return static_cast<UINT>(v ^ (v >> 32));
  }
}
template <>
inline UINT HashKey<LPCTSTR>(LPCTSTR key) {
  UINT hash = 0;
  if (key) {
    for (; *key; ++key) hash = (hash << 5) + hash + static_cast<unsigned char>(*key);
  }
  return hash;
}
template <>
inline UINT HashKey<const CString&>(const CString& key) {
  return HashKey<LPCTSTR>(key.GetString());
}
template <>
inline UINT HashKey<CString>(CString key) {
  return HashKey<LPCTSTR>(key.GetString());
}

//----------------------------------------------------------------------------
template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
 public:
  CArray() = default;

  INT_PTR GetSize() const { return static_cast<INT_PTR>(m_data.size()); }
  INT_PTR GetCount() const { return GetSize(); }
  BOOL IsEmpty() const { return m_data.empty(); }
  INT_PTR GetUpperBound() const { return GetSize() - 1; }
  void SetSize(INT_PTR nNewSize, INT_PTR nGrowBy = -1) {
    (void)nGrowBy;
    if (nNewSize < 0) AfxThrowInvalidArgException();
    m_data.resize(static_cast<size_t>(nNewSize));
  }
  void FreeExtra() { m_data.shrink_to_fit(); }
  void RemoveAll() { m_data.clear(); }

  const TYPE& GetAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  TYPE& GetAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  void SetAt(INT_PTR nIndex, ARG_TYPE newElement) { m_data[Checked(nIndex)] = newElement; }
  TYPE& ElementAt(INT_PTR nIndex) { return m_data[Checked(nIndex)]; }
  const TYPE& ElementAt(INT_PTR nIndex) const { return m_data[Checked(nIndex)]; }
  const TYPE* GetData() const { return m_data.data(); }
  TYPE* GetData() { return m_data.data(); }
  const TYPE& operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }

  // Grows the array as needed to reach nIndex.
  void SetAtGrow(INT_PTR nIndex, ARG_TYPE newElement) {
    if (nIndex < 0) AfxThrowInvalidArgException();
    TYPE copy(newElement);  // newElement may refer into this array
    if (nIndex >= GetSize()) m_data.resize(static_cast<size_t>(nIndex) + 1);
    m_data[static_cast<size_t>(nIndex)] = std::move(copy);
  }
  INT_PTR Add(ARG_TYPE newElement) {
    m_data.push_back(TYPE(newElement));
    return GetSize() - 1;
  }
  INT_PTR Append(const CArray& src) {
    INT_PTR old = GetSize();
    std::vector<TYPE> copy(src.m_data);  // src may be this array
    m_data.insert(m_data.end(), copy.begin(), copy.end());
    return old;
  }
  void Copy(const CArray& src) {
    if (&src != this) m_data = src.m_data;
  }
  // Inserting at or past the end grows the array, as SetAtGrow does.
  void InsertAt(INT_PTR nIndex, ARG_TYPE newElement, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0) AfxThrowInvalidArgException();
    TYPE copy(newElement);
    if (nIndex >= GetSize()) {
      m_data.resize(static_cast<size_t>(nIndex));
    }
    m_data.insert(m_data.begin() + nIndex, static_cast<size_t>(nCount), copy);
  }
  void InsertAt(INT_PTR nStartIndex, const CArray* pNewArray) {
    if (!pNewArray || nStartIndex < 0) AfxThrowInvalidArgException();
    std::vector<TYPE> copy(pNewArray->m_data);
    if (nStartIndex > GetSize()) m_data.resize(static_cast<size_t>(nStartIndex));
    m_data.insert(m_data.begin() + nStartIndex, copy.begin(), copy.end());
  }
  void RemoveAt(INT_PTR nIndex, INT_PTR nCount = 1) {
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > GetSize()) AfxThrowInvalidArgException();
    m_data.erase(m_data.begin() + nIndex, m_data.begin() + nIndex + nCount);
  }

 private:
  size_t Checked(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= GetSize()) AfxThrowInvalidArgException();
    return static_cast<size_t>(nIndex);
  }

  std::vector<TYPE> m_data;
};

//----------------------------------------------------------------------------
template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
  struct CNode {
    CNode* pNext;
    CNode* pPrev;
    TYPE data;
  };

 public:
  explicit CList(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  CList(const CList&) = delete;
  CList& operator=(const CList&) = delete;
  ~CList() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }

  TYPE& GetHead() { return NonEmpty(m_pNodeHead)->data; }
  const TYPE& GetHead() const { return NonEmpty(m_pNodeHead)->data; }
  TYPE& GetTail() { return NonEmpty(m_pNodeTail)->data; }
  const TYPE& GetTail() const { return NonEmpty(m_pNodeTail)->data; }

  TYPE RemoveHead() {
    CNode* node = NonEmpty(m_pNodeHead);
    TYPE value(std::move(node->data));
    Unlink(node);
    return value;
  }
  TYPE RemoveTail() {
    CNode* node = NonEmpty(m_pNodeTail);
    TYPE value(std::move(node->data));
    Unlink(node);
    return value;
  }

  POSITION AddHead(ARG_TYPE newElement) { return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, nullptr, m_pNodeHead); }
  POSITION AddTail(ARG_TYPE newElement) { return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, m_pNodeTail, nullptr); }
  void AddHead(const CList* pNewList) {
    if (!pNewList) return;
    std::vector<TYPE> copy = pNewList->Values();
    for (auto it = copy.rbegin(); it != copy.rend(); ++it) AddHead(*it);
  }
  void AddTail(const CList* pNewList) {
    if (!pNewList) return;
    for (const TYPE& v : pNewList->Values()) AddTail(v);
  }
  void RemoveAll() {
    for (CNode* node = m_pNodeHead; node;) {
      CNode* next = node->pNext;
      delete node;
      node = next;
    }
    m_pNodeHead = m_pNodeTail = nullptr;
    m_nCount = 0;
  }

  POSITION GetHeadPosition() const { return Pos(m_pNodeHead); }
  POSITION GetTailPosition() const { return Pos(m_pNodeTail); }
  TYPE& GetNext(POSITION& rPosition) {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pNext);
    return node->data;
  }
  const TYPE& GetNext(POSITION& rPosition) const {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pNext);
    return node->data;
  }
  TYPE& GetPrev(POSITION& rPosition) {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pPrev);
    return node->data;
  }
  const TYPE& GetPrev(POSITION& rPosition) const {
    CNode* node = Node(rPosition);
    rPosition = Pos(node->pPrev);
    return node->data;
  }
  TYPE& GetAt(POSITION position) { return Node(position)->data; }
  const TYPE& GetAt(POSITION position) const { return Node(position)->data; }
  void SetAt(POSITION pos, ARG_TYPE newElement) { Node(pos)->data = newElement; }
  void RemoveAt(POSITION position) { Unlink(Node(position)); }

  POSITION InsertBefore(POSITION position, ARG_TYPE newElement) {
    if (!position) return AddHead(newElement);
    CNode* at = Node(position);
    return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, at->pPrev, at);
  }
  POSITION InsertAfter(POSITION position, ARG_TYPE newElement) {
    if (!position) return AddTail(newElement);
    CNode* at = Node(position);
    return Link(new CNode{nullptr, nullptr, TYPE(newElement)}, at, at->pNext);
  }

  POSITION FindIndex(INT_PTR nIndex) const {
    if (nIndex < 0 || nIndex >= m_nCount) return nullptr;
    CNode* node = m_pNodeHead;
    while (nIndex-- > 0) node = node->pNext;
    return Pos(node);
  }
  POSITION Find(ARG_TYPE searchValue, POSITION startAfter = nullptr) const {
    CNode* node = startAfter ? Node(startAfter)->pNext : m_pNodeHead;
    for (; node; node = node->pNext) {
      if (CompareElements(&node->data, &searchValue)) return Pos(node);
    }
    return nullptr;
  }

 private:
  static POSITION Pos(CNode* node) { return reinterpret_cast<POSITION>(node); }
  static CNode* Node(POSITION pos) {
    if (!pos || pos == BEFORE_START_POSITION) AfxThrowInvalidArgException();
    return reinterpret_cast<CNode*>(pos);
  }
  static CNode* NonEmpty(CNode* node) {
    if (!node) AfxThrowInvalidArgException();
    return node;
  }
  POSITION Link(CNode* node, CNode* prev, CNode* next) {
    node->pPrev = prev;
    node->pNext = next;
    (prev ? prev->pNext : m_pNodeHead) = node;
    (next ? next->pPrev : m_pNodeTail) = node;
    ++m_nCount;
    return Pos(node);
  }
  void Unlink(CNode* node) {
    (node->pPrev ? node->pPrev->pNext : m_pNodeHead) = node->pNext;
    (node->pNext ? node->pNext->pPrev : m_pNodeTail) = node->pPrev;
    --m_nCount;
    delete node;
  }
  std::vector<TYPE> Values() const {
    std::vector<TYPE> values;
    for (CNode* node = m_pNodeHead; node; node = node->pNext) values.push_back(node->data);
    return values;
  }

  CNode* m_pNodeHead = nullptr;
  CNode* m_pNodeTail = nullptr;
  INT_PTR m_nCount = 0;
};

//----------------------------------------------------------------------------
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
  struct CAssoc {
    CAssoc* pNext;
    UINT nHashValue;
    KEY key;
    VALUE value;
  };

 public:
  explicit CMap(INT_PTR nBlockSize = 10) { (void)nBlockSize; }
  CMap(const CMap&) = delete;
  CMap& operator=(const CMap&) = delete;
  ~CMap() override { RemoveAll(); }

  INT_PTR GetCount() const { return m_nCount; }
  INT_PTR GetSize() const { return m_nCount; }
  BOOL IsEmpty() const { return m_nCount == 0; }
  UINT GetHashTableSize() const { return static_cast<UINT>(m_table.size()); }
  void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE) {
    (void)bAllocNow;
    if (m_nCount == 0 && hashSize > 0) m_table.assign(hashSize, nullptr);
  }

  BOOL Lookup(ARG_KEY key, VALUE& rValue) const {
    CAssoc* assoc = Find(key);
    if (!assoc) return FALSE;
    rValue = assoc->value;
    return TRUE;
  }
  VALUE& operator[](ARG_KEY key) {
    if (CAssoc* assoc = Find(key)) return assoc->value;
    if (m_table.empty()) m_table.assign(17, nullptr);
    if (static_cast<size_t>(m_nCount) >= 2 * m_table.size()) Rehash(4 * m_table.size() + 1);
    UINT hash = HashKey<ARG_KEY>(key);
    CAssoc*& bucket = m_table[hash % m_table.size()];
    bucket = new CAssoc{bucket, hash, KEY(key), VALUE()};
    ++m_nCount;
    return bucket->value;
  }
  void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
  BOOL RemoveKey(ARG_KEY key) {
    if (m_table.empty()) return FALSE;
    UINT hash = HashKey<ARG_KEY>(key);
    for (CAssoc** link = &m_table[hash % m_table.size()]; *link; link = &(*link)->pNext) {
      if ((*link)->nHashValue == hash && (*link)->key == key) {
        CAssoc* doomed = *link;
        *link = doomed->pNext;
        delete doomed;
        --m_nCount;
        return TRUE;
      }
    }
    return FALSE;
  }
  void RemoveAll() {
    for (CAssoc*& bucket : m_table) {
      while (bucket) {
        CAssoc* next = bucket->pNext;
        delete bucket;
        bucket = next;
      }
    }
    m_nCount = 0;
  }

  POSITION GetStartPosition() const { return m_nCount ? BEFORE_START_POSITION : nullptr; }
  void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const {
    if (!rNextPosition) AfxThrowInvalidArgException();
    CAssoc* assoc = rNextPosition == BEFORE_START_POSITION ? NextFrom(0)
                                                           : reinterpret_cast<CAssoc*>(rNextPosition);
    if (!assoc) AfxThrowInvalidArgException();
    CAssoc* next = assoc->pNext ? assoc->pNext : NextFrom(assoc->nHashValue % m_table.size() + 1);
    rNextPosition = reinterpret_cast<POSITION>(next);
    rKey = assoc->key;
    rValue = assoc->value;
  }

 private:
  CAssoc* Find(ARG_KEY key) const {
    if (m_table.empty()) return nullptr;
    UINT hash = HashKey<ARG_KEY>(key);
    for (CAssoc* assoc = m_table[hash % m_table.size()]; assoc; assoc = assoc->pNext) {
      if (assoc->nHashValue == hash && assoc->key == key) return assoc;
    }
    return nullptr;
  }
  // Keeps chains short as the map grows; associations move, they are not copied.
  void Rehash(size_t size) {
    std::vector<CAssoc*> table(size, nullptr);
    for (CAssoc* assoc : m_table) {
      while (assoc) {
        CAssoc* next = assoc->pNext;
        CAssoc*& bucket = table[assoc->nHashValue % size];
        assoc->pNext = bucket;
        bucket = assoc;
        assoc = next;
      }
    }
    m_table.swap(table);
  }
  CAssoc* NextFrom(size_t bucket) const {
    for (; bucket < m_table.size(); ++bucket) {
      if (m_table[bucket]) return m_table[bucket];
    }
    return nullptr;
  }

  std::vector<CAssoc*> m_table;
  INT_PTR m_nCount = 0;
};

//----------------------------------------------------------------------------
// Type-safe views over the pointer collections.
template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
 public:
  explicit CTypedPtrList(INT_PTR nBlockSize = 10) : BASE_CLASS(nBlockSize) {}
  TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
  TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
  TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
  TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
  TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
  TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
  TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
  TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
  TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
  TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
  TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
  void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
  POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
  POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
  void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
  void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
 public:
  TYPE GetAt(INT_PTR nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
  TYPE& ElementAt(INT_PTR nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
  void SetAt(INT_PTR nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
  void SetAtGrow(INT_PTR nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
  INT_PTR Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
  void InsertAt(INT_PTR nIndex, TYPE newElement, INT_PTR nCount = 1) {
    BASE_CLASS::InsertAt(nIndex, newElement, nCount);
  }
  TYPE operator[](INT_PTR nIndex) const { return GetAt(nIndex); }
  TYPE& operator[](INT_PTR nIndex) { return ElementAt(nIndex); }
};
