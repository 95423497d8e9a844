#include "CException.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

// The message box lives in the class layer above; until it is linked in,
// reports go to the standard error stream.
int AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) __attribute__((weak));

namespace {

// The block operator new handed out last, so that the constructor can tell
// whether its object lives there and Delete() may free it.
thread_local const char* t_heapBlock = nullptr;
thread_local size_t t_heapBlockSize = 0;

bool TakeHeapBlock(const void* object) {
  const char* p = static_cast<const char*>(object);
  bool inside = t_heapBlock && p >= t_heapBlock && p < t_heapBlock + t_heapBlockSize;
  if (inside) t_heapBlock = nullptr;
  return inside;
}

void CopyMessage(const CString& text, LPTSTR lpszError, UINT nMaxError) {
  if (!lpszError || nMaxError == 0) return;
  size_t n = std::min(static_cast<size_t>(text.GetLength()), static_cast<size_t>(nMaxError) - 1);
  std::memcpy(lpszError, text.GetString(), n);
  lpszError[n] = '\0';
}

}  // namespace

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CSimpleException, CException)
IMPLEMENT_DYNAMIC(CMemoryException, CSimpleException)
IMPLEMENT_DYNAMIC(CInvalidArgException, CSimpleException)
IMPLEMENT_DYNAMIC(CNotSupportedException, CSimpleException)
IMPLEMENT_DYNAMIC(CResourceException, CSimpleException)
IMPLEMENT_DYNAMIC(CFileException, CException)

CException::CException(BOOL bAutoDelete)
    : m_bAutoDelete(bAutoDelete), m_bReadyForDelete(TakeHeapBlock(this)) {}

// Kept out of line: gcc otherwise pairs the inlined allocation with the
// new-expression and reports a false mismatch.
__attribute__((noinline)) void* CException::operator new(size_t size) {
  void* p = ::operator new(size);
  t_heapBlock = static_cast<const char*>(p);
  t_heapBlockSize = size;
  return p;
}

__attribute__((noinline)) void CException::operator delete(void* p) noexcept {
  if (p == t_heapBlock) t_heapBlock = nullptr;  // construction failed
  ::operator delete(p);
}

void CException::Delete() {
  if (m_bAutoDelete && m_bReadyForDelete) delete this;
}

BOOL CException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  CopyMessage(CString(), lpszError, nMaxError);
  return FALSE;
}

int CException::ReportError(UINT nType, UINT nMessageID) const {
  char message[512];
  CString text;
  if (GetErrorMessage(message, sizeof message)) {
    text = message;
  } else if (nMessageID == 0 || !text.LoadString(nMessageID)) {
    text = "An unsupported operation was attempted.";
  }
  if (AfxMessageBox) return AfxMessageBox(text, nType, 0);
  std::fprintf(stderr, "%s\n", text.GetString());
  return 0;
}

BOOL CSimpleException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  CopyMessage(m_strMessage, lpszError, nMaxError);
  return !m_strMessage.IsEmpty();
}

BOOL CFileException::GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  static const char* const kCauses[] = {
      "No error occurred.",
      "An unspecified error occurred while accessing %s.",
      "%s was not found.",
      "%s contains an incorrect path.",
      "%s could not be opened because there are too many open files.",
      "Access to %s was denied.",
      "An incorrect file handle was associated with %s.",
      "%s could not be removed because it is the current directory.",
      "%s could not be created because the directory is full.",
      "Seek failed on %s.",
      "A hardware I/O error was reported while accessing %s.",
      "A sharing violation occurred while accessing %s.",
      "A locking violation occurred while accessing %s.",
      "Disk full while accessing %s.",
      "An attempt was made to access %s past its end.",
  };
  if (pnHelpContext) *pnHelpContext = 0;
  const int cause = (m_cause >= none && m_cause <= endOfFile) ? m_cause : genericException;
  const char* name = m_strFileName.GetString();
  if (m_strFileName.IsEmpty()) name = kCauses[cause][0] == '%' ? "An unnamed file" : "an unnamed file";
  CString text;
  text.Format(kCauses[cause], name);
  CopyMessage(text, lpszError, nMaxError);
  return TRUE;
}

void AfxThrowMemoryException() { throw new CMemoryException; }
void AfxThrowInvalidArgException() { throw new CInvalidArgException; }
void AfxThrowNotSupportedException() { throw new CNotSupportedException; }
void AfxThrowResourceException() { throw new CResourceException; }
void AfxThrowFileException(int cause, LONG lOsError, LPCTSTR lpszFileName) {
  throw new CFileException(cause, lOsError, lpszFileName);
}
