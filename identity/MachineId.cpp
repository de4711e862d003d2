// GetMachineId: the identity string of this computer, read from the hardware through the Win32 queries.
#include "identity/MachineId.h"

#include "base/Report.h"
#include "identity/MachineIdSources.h"
#include "identity/Win32MachineQueries.h"

std::wstring GetMachineId() {
    try {
        identity::Win32MachineQueries queries;
        return identity::BuildMachineId(queries);
    } catch (...) {
        ReportCaught("GetMachineId");
        // Only an out-of-memory can get here; the identity is then as empty as on a machine without sources.
        return {};
    }
}
