// COM results as exceptions: EOleSysError carries the failed HRESULT, OleCheck raises it for a failure code.
#pragma once

#include <windows.h>

#include "classlib/SysUtils.h"

class EOleSysError : public Exception {
  public:
    EOleSysError(std::wstring message, HRESULT errorCode) : Exception(std::move(message)), ErrorCode(errorCode) {}
    HRESULT ErrorCode;
};

// Raises EOleSysError with the system's text when Result is a failure code; gives success codes back.
HRESULT OleCheck(HRESULT Result);
