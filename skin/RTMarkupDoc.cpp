#include "RTMarkupDoc.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "ByteCursor.h"
#include "Files.h"

namespace {

constexpr size_t kLargestFile = 16 * 1024 * 1024;

bool IsBlank(uint8_t c) { return c >= 0x01 && c <= 0x20; }
bool EndsToken(uint8_t c) { return IsBlank(c) || c == '<' || c == '>'; }

// Case-insensitive for ASCII letters; other bytes must match exactly.
bool EqualNoCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    unsigned char x = static_cast<unsigned char>(*a), y = static_cast<unsigned char>(*b);
    if (x >= 'A' && x <= 'Z') x += 'a' - 'A';
    if (y >= 'A' && y <= 'Z') y += 'a' - 'A';
    if (x != y) return false;
    if (!x) return true;
  }
}

void SkipBlanks(ByteCursor& cur) {
  uint8_t c;
  while (cur.peek_u8(c) && IsBlank(c)) cur.skip(1);
}

// The bytes up to the next blank, '<', '>' or the end; the cursor stops there.
CString TakeToken(ByteCursor& cur) {
  const uint8_t* start = cur.position();
  uint8_t c;
  while (cur.peek_u8(c) && !EndsToken(c)) cur.skip(1);
  return CString(reinterpret_cast<const char*>(start), static_cast<int>(cur.position() - start));
}

}  // namespace

const char* CRTMarkupElement::GetValue(const char* key) const {
  if (!key) return nullptr;
  for (Node* n = m_head; n; n = n->next)
    if (EqualNoCase(n->key, key)) return n->value;
  return nullptr;
}

void CRTMarkupElement::SetAttribute(const CString& key, const CString& value) {
  Node** link = &m_head;
  for (; *link; link = &(*link)->next) {
    if ((*link)->key == key) {
      (*link)->value = value;
      return;
    }
  }
  *link = new Node{key, value, nullptr};
}

void CRTMarkupElement::Clear() {
  while (m_head) {
    Node* next = m_head->next;
    delete m_head;
    m_head = next;
  }
}

int CRTMarkupDoc::LoadFile(const char* path) {
  if (!path) return 0;
  m_path = path;
  std::string text;
  // A skin description is a few kilobytes; a FIFO or anything huge in its place is no skin.
  if (PlatformReadFile(path, kLargestFile, text) != 0) return 0;
  Clear();
  Parse(text.data(), text.size());
  return 1;
}

int CRTMarkupDoc::LoadText(const void* text, size_t size) {
  Clear();
  Parse(text, text ? size : 0);
  return 1;
}

CRTMarkupElement* CRTMarkupDoc::FindElement(const char* name) const {
  if (!name) return nullptr;
  for (const auto& e : m_elements)
    if (std::strcmp(e->GetName(), name) == 0) return e.get();
  return nullptr;
}

void CRTMarkupDoc::Parse(const void* text, size_t size) {
  // The text ends at its first zero byte, so the result never depends on
  // how the file happened to be read in pieces.
  const void* zero = text ? std::memchr(text, 0, size) : nullptr;
  if (zero) size = static_cast<size_t>(static_cast<const char*>(zero) - static_cast<const char*>(text));
  ByteCursor cur(text, size);
  while (!cur.empty() && ParseElement(cur)) {
  }
}

bool CRTMarkupDoc::ParseElement(ByteCursor& cur) {
  uint8_t c = 0;
  while (cur.peek_u8(c) && c != '<') cur.skip(1);
  if (!cur.skip(1)) return false;  // no '<' left
  SkipBlanks(cur);
  if (!cur.peek_u8(c) || c == '<') return true;
  if (c == '>') {
    cur.skip(1);
    return true;
  }
  CString name = TakeToken(cur);
  if (!cur.peek_u8(c) || c == '<') return true;  // a name cut off makes no element
  m_elements.push_back(std::make_unique<CRTMarkupElement>(name));
  ParseAttribute(cur, *m_elements.back());
  return true;
}

void CRTMarkupDoc::ParseAttribute(ByteCursor& cur, CRTMarkupElement& element) {
  for (;;) {
    SkipBlanks(cur);
    uint8_t c;
    if (!cur.peek_u8(c) || c == '<') return;
    if (c == '>') {
      cur.skip(1);
      return;
    }
    CString token = TakeToken(cur);
    if (!cur.peek_u8(c) || c == '<') return;  // a token cut off is not used
    const int eq = token.Find('=');
    if (eq >= 0) element.SetAttribute(token.Left(eq), token.Mid(eq + 1));
    if (c == '>') {
      cur.skip(1);
      return;
    }
  }
}
