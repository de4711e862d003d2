#include "classlib/ComObj.h"

HRESULT OleCheck(HRESULT Result) {
    if (FAILED(Result))
        throw EOleSysError(SysErrorMessage(static_cast<std::uint32_t>(Result)), Result);
    return Result;
}
