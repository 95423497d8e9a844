// The skin description's markup: elements written as '<' Name Key=Value ...
// '>', with no quotes, escapes or comments.
//
// Grammar, on bytes (a blank is 0x01 to 0x20; bytes from 0x80 are ordinary):
// text up to a '<' is skipped; after the '<' blanks are skipped and the name
// runs to the next blank, '<', '>' or the end. A name cut off by '<' or the
// end makes no element. Tokens follow, separated by blanks, until '>', '<' or
// the end; a token split at its first '=' gives key and value, a token
// without '=' adds nothing, and a token cut off by '<' or the end is not
// used. Duplicated element names are kept in order and FindElement finds the
// first; a key repeated in exactly the same letter case replaces the value.
//
// The text ends at its first zero byte, wherever it lies in the file.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "CString.h"

class ByteCursor;

class CRTMarkupElement {
 public:
  explicit CRTMarkupElement(const CString& name) : m_name(name) {}
  ~CRTMarkupElement() { Clear(); }
  CRTMarkupElement(const CRTMarkupElement&) = delete;
  CRTMarkupElement& operator=(const CRTMarkupElement&) = delete;

  const CString& GetName() const { return m_name; }
  // The value of the first key, in the order written, equal to `key`
  // ignoring case; null when there is none.
  const char* GetValue(const char* key) const;
  // Replaces the value of the key spelled exactly so, or appends the key.
  void SetAttribute(const CString& key, const CString& value);
  void Clear();

 private:
  struct Node {
    CString key;
    CString value;
    Node* next = nullptr;
  };
  CString m_name;
  Node* m_head = nullptr;
};

class CRTMarkupDoc {
 public:
  CRTMarkupDoc() = default;
  ~CRTMarkupDoc() { Clear(); }
  CRTMarkupDoc(const CRTMarkupDoc&) = delete;
  CRTMarkupDoc& operator=(const CRTMarkupDoc&) = delete;

  // 1 when the file was read (also when empty), 0 for a null path or a file
  // that cannot be opened, which leaves the elements as they were.
  int LoadFile(const char* path);
  // Parses `size` bytes of text (up to its first zero byte); returns 1.
  int LoadText(const void* text, size_t size);
  CRTMarkupElement* FindElement(const char* name) const;
  int GetElementCount() const { return static_cast<int>(m_elements.size()); }
  CRTMarkupElement* GetElement(int index) const { return m_elements[static_cast<size_t>(index)].get(); }
  const CString& GetPath() const { return m_path; }
  void Clear() { m_elements.clear(); }

 private:
  void Parse(const void* text, size_t size);
  // Both return false when the text has no further element to offer.
  bool ParseElement(ByteCursor& cur);
  void ParseAttribute(ByteCursor& cur, CRTMarkupElement& element);

  std::vector<std::unique_ptr<CRTMarkupElement>> m_elements;
  CString m_path;
};
