// The live-pointer counter behind LiveComPointerCount.
#include "base/ComPtr.h"

#include <atomic>

namespace {
std::atomic<long> gLiveComPointers{0};
}

void com_detail::CountComPointer(int delta) {
    gLiveComPointers += delta;
}

long LiveComPointerCount() {
    return gLiveComPointers.load();
}
