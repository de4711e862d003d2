#include "identity/FakeMachine.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace identity::test {
namespace {

class FakeHandle : public DeviceHandle {
  public:
    FakeHandle(FakeMachine& machine, std::string path) : machine_(machine), path_(std::move(path)) {}

    bool Control(uint32_t code, const void* in, size_t inSize, void* out, size_t outSize, uint32_t* returned) override {
        const auto* bytes = static_cast<const uint8_t*>(in);
        Bytes input(bytes, bytes + (in ? inSize : 0));
        machine_.requests.push_back({path_, code, input, outSize});
        if (returned)
            *returned = 0;
        const FakeDevice& device = machine_.devices.at(path_);
        auto handler = device.handlers.find(code);
        if (handler == device.handlers.end())
            return false;
        const Reply reply = handler->second(input);
        if (!reply.ok)
            return false;
        const size_t n = std::min(reply.out.size(), outSize);
        if (n)
            std::memcpy(out, reply.out.data(), n);
        if (returned)
            *returned = static_cast<uint32_t>(n);
        return true;
    }

  private:
    FakeMachine& machine_;
    std::string path_;
};

void Put16(Bytes& b, size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
    Put16(b, at, v);
    Put16(b, at + 2, v >> 16);
}

// An ATA string: blank-padded to `bytes`, each pair of characters stored swapped.
void PutAtaString(Bytes& b, size_t at, const std::string& text, size_t bytes) {
    std::string padded = text.substr(0, bytes);
    padded.resize(bytes, ' ');
    for (size_t i = 0; i < bytes; i += 2) {
        b[at + i] = static_cast<uint8_t>(padded[i + 1]);
        b[at + i + 1] = static_cast<uint8_t>(padded[i]);
    }
}

}  // namespace

std::unique_ptr<DeviceHandle> FakeMachine::OpenDevice(const std::string& path, DeviceAccess access) {
    opens.emplace_back(path, access);
    // Device names are not case-sensitive on Windows.
    auto lower = [](std::string s) {
        for (char& c : s)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return s;
    };
    auto it =
        std::find_if(devices.begin(), devices.end(), [&](const auto& d) { return lower(d.first) == lower(path); });
    if (it == devices.end())
        return nullptr;
    const bool allowed = access == DeviceAccess::kReadWrite ? it->second.openWithRights : it->second.openWithoutRights;
    if (!allowed)
        return nullptr;
    return std::make_unique<FakeHandle>(*this, it->first);
}

std::optional<WmiRow> FakeMachine::WmiFirstRow(const std::wstring& wql, uint32_t) {
    wmiQueries.push_back(wql);
    auto it = wmi.find(wql);
    if (it == wmi.end())
        return std::nullopt;
    return it->second;
}

std::optional<std::string> FakeMachine::ReadMachineRegString(const std::string& key, const std::string& value) {
    auto it = registry.find(key + "|" + value);
    if (it == registry.end())
        return std::nullopt;
    return it->second;
}

uint8_t FakeMachine::AspiHostAdapterInquiry(uint8_t, uint8_t* maxTargets) {
    *maxTargets = aspiTargets;
    return kAspiStatusComplete;
}

uint8_t FakeMachine::AspiGetDeviceType(uint8_t adapter, uint8_t target, uint8_t lun, uint8_t* deviceType) {
    auto it = aspiDevices.find({adapter, target, lun});
    if (it == aspiDevices.end())
        return 0x82;  // SS_NO_DEVICE
    *deviceType = it->second[0] & 0x1F;
    return kAspiStatusComplete;
}

uint8_t FakeMachine::AspiInquiry(uint8_t adapter, uint8_t target, uint8_t lun, std::array<uint8_t, 59>* data) {
    auto it = aspiDevices.find({adapter, target, lun});
    if (it == aspiDevices.end() || aspiInquiryFails)
        return 0x04;  // SS_ERR
    *data = it->second;
    return kAspiStatusComplete;
}

std::vector<Request> FakeMachine::RequestsWith(uint32_t code) const {
    std::vector<Request> found;
    std::copy_if(requests.begin(), requests.end(), std::back_inserter(found),
                 [&](const Request& r) { return r.code == code; });
    return found;
}

Bytes AtaIdentify(const IdentifyFields& f) {
    Bytes b(512, 0);
    Put16(b, 0, f.config);
    Put16(b, 2, f.cylinders);
    Put16(b, 6, f.heads);
    Put16(b, 12, f.sectorsPerTrack);
    Put16(b, 10, 512);
    PutAtaString(b, 20, f.serial, 20);
    PutAtaString(b, 46, f.revision, 8);
    PutAtaString(b, 54, f.model, 40);
    Put32(b, 120, f.lbaSectors);
    return b;
}

Bytes SmartReply(const Bytes& identify, uint8_t driverError) {
    Bytes b(16, 0);
    Put32(b, 0, 512);
    b[4] = driverError;
    b.insert(b.end(), identify.begin(), identify.end());
    return b;
}

Bytes StorageDescriptor(const char* productId, const char* revision, const char* serial, uint8_t deviceType) {
    Bytes b(40, 0);
    Put32(b, 0, 40);
    b[8] = deviceType;
    auto add = [&](size_t offsetAt, const char* text) {
        if (!text)
            return;
        Put32(b, offsetAt, static_cast<uint32_t>(b.size()));
        b.insert(b.end(), text, text + std::strlen(text) + 1);
    };
    add(16, productId);
    add(20, revision);
    add(24, serial);
    Put32(b, 4, static_cast<uint32_t>(b.size()));
    return b;
}

Bytes ScsiInquiry(uint8_t peripheralType,
                  const std::string& vendor,
                  const std::string& product,
                  const std::string& revision,
                  const std::string& vendorSpecific) {
    Bytes b(56, 0);
    b[0] = peripheralType;
    // Identification fields are blank-padded ASCII.
    auto put = [&](size_t at, const std::string& text, size_t size) {
        std::string padded = text.substr(0, size);
        padded.resize(size, ' ');
        std::memcpy(&b[at], padded.data(), size);
    };
    put(8, vendor, 8);
    put(16, product, 16);
    put(32, revision, 4);
    std::memcpy(&b[36], vendorSpecific.data(), std::min<size_t>(vendorSpecific.size(), 20));
    return b;
}

Bytes ScsiAdapterBusInfo(const std::vector<Bytes>& inquiries) {
    Bytes b(12, 0);
    b[0] = 1;  // one bus
    b[4] = static_cast<uint8_t>(inquiries.size());
    Put32(b, 8, inquiries.empty() ? 0 : 12);
    for (size_t i = 0; i < inquiries.size(); ++i) {
        const size_t at = b.size();
        b.resize(at + 12, 0);
        b[at + 1] = static_cast<uint8_t>(i);  // target id
        Put32(b, at + 4, static_cast<uint32_t>(inquiries[i].size()));
        b.insert(b.end(), inquiries[i].begin(), inquiries[i].end());
        if (i + 1 < inquiries.size())
            Put32(b, at + 8, static_cast<uint32_t>(b.size()));
    }
    return b;
}

}  // namespace identity::test
