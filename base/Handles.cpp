// The live-handle counters behind LiveHandleCount.
#include "base/Handles.h"

#include <atomic>

namespace {
std::atomic<long> gLiveHandles[static_cast<int>(THandleKind::Count)];
}

void handles_detail::CountHandle(THandleKind kind, int delta) {
    gLiveHandles[static_cast<int>(kind)] += delta;
}

long LiveHandleCount(THandleKind kind) {
    return gLiveHandles[static_cast<int>(kind)].load();
}

long LiveHandleCount() {
    long total = 0;
    for (auto& c : gLiveHandles)
        total += c.load();
    return total;
}
