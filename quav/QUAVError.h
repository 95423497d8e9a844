// Codes of the QUAV library and their texts. Failures of calls are thrown as
// CVHException with a code and its text; outcomes of requests reach the
// callback as a VhQUAVError.
#pragma once

#include "afx.h"

#define QUAV_API __attribute__((visibility("default")))

enum QUAVErrorCode {
  QUAV_OK = 0,
  QUAV_BAD_VARIABLE_ID = -1005,
  QUAV_BAD_COMMAND = -1006,
  QUAV_BAD_VALUE_TYPE = -1007,
  QUAV_SOCKET_NOT_READY = -1008,
  QUAV_SOCKET_ERROR = -1009,
  QUAV_BAD_MAC = -1010,
  QUAV_PASSWORD_ERROR = -1011,
  QUAV_NOT_DONE = -1012,
  QUAV_BAD_PACKET = -1013,
  QUAV_TIMEOUT = -1014,
  QUAV_UNKNOWN_ERROR = -1015,
  QUAV_WINDOW_FAILED = -1025,
  QUAV_WINSOCK_FAILED = -1026,
};

// The table text of a code; code 0 gives "(VhQUAV) Ok!", a code outside the
// table an empty text.
QUAV_API CString QUAVErrorText(int code);

// Throws a new CVHException with the code and its table text.
[[noreturn]] QUAV_API void QUAVThrow(int code);
