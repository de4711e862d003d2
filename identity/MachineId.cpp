// Until the hardware sources are read, this computer has no identity of its own: every settings file compares
// as written here.
#include "identity/MachineId.h"

std::wstring GetMachineId() {
    return {};
}
