// Exceptions are thrown by pointer and released by the catcher with Delete(),
// which frees heap-allocated ones and leaves any other alone.
#pragma once

#include <cstddef>

#include "CObject.h"
#include "CString.h"

class PLATFORM_API CException : public CObject {
  DECLARE_DYNAMIC(CException)
 public:
  explicit CException(BOOL bAutoDelete = TRUE);
  ~CException() override = default;

  void Delete();
  // Copies the message (truncated, always terminated) into lpszError; FALSE when there is none.
  virtual BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;
  // Shows the message in a message box (nType: MB_* flags), or the text of
  // nMessageID when the exception has none. Returns the box's result.
  virtual int ReportError(UINT nType = 0, UINT nMessageID = 0) const;

  static void* operator new(size_t size);
  static void operator delete(void* p) noexcept;

 protected:
  BOOL m_bAutoDelete;
  BOOL m_bReadyForDelete;
};

class PLATFORM_API CSimpleException : public CException {
  DECLARE_DYNAMIC(CSimpleException)
 public:
  explicit CSimpleException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  CSimpleException(LPCTSTR lpszMessage, BOOL bAutoDelete = TRUE)
      : CException(bAutoDelete), m_strMessage(lpszMessage) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

 protected:
  CString m_strMessage;
};

class PLATFORM_API CMemoryException : public CSimpleException {
  DECLARE_DYNAMIC(CMemoryException)
 public:
  CMemoryException() : CSimpleException("Out of memory.") {}
};

class PLATFORM_API CInvalidArgException : public CSimpleException {
  DECLARE_DYNAMIC(CInvalidArgException)
 public:
  CInvalidArgException() : CSimpleException("Invalid argument.") {}
};

class PLATFORM_API CNotSupportedException : public CSimpleException {
  DECLARE_DYNAMIC(CNotSupportedException)
 public:
  CNotSupportedException() : CSimpleException("Unsupported operation.") {}
};

class PLATFORM_API CResourceException : public CSimpleException {
  DECLARE_DYNAMIC(CResourceException)
 public:
  CResourceException() : CSimpleException("A required resource was unavailable.") {}
};

class PLATFORM_API CFileException : public CException {
  DECLARE_DYNAMIC(CFileException)
 public:
  enum {
    none,
    genericException,
    fileNotFound,
    badPath,
    tooManyOpenFiles,
    accessDenied,
    invalidFile,
    removeCurrentDir,
    directoryFull,
    badSeek,
    hardIO,
    sharingViolation,
    lockViolation,
    diskFull,
    endOfFile
  };
  explicit CFileException(int cause = none, LONG lOsError = -1, LPCTSTR lpszArchiveName = nullptr)
      : m_cause(cause), m_lOsError(lOsError), m_strFileName(lpszArchiveName) {}
  BOOL GetErrorMessage(LPTSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

[[noreturn]] PLATFORM_API void AfxThrowMemoryException();
[[noreturn]] PLATFORM_API void AfxThrowInvalidArgException();
[[noreturn]] PLATFORM_API void AfxThrowNotSupportedException();
[[noreturn]] PLATFORM_API void AfxThrowResourceException();
[[noreturn]] PLATFORM_API void AfxThrowFileException(int cause, LONG lOsError = -1, LPCTSTR lpszFileName = nullptr);
