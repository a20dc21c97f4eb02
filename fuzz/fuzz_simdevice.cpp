// The simulated device's request handling: the fuzz bytes are one request frame. Bits of byte 0
// put the device's own address in and mend the CRC, so that most frames reach the answers.

#include "MendCrc.h"
#include "ModbusFrame.h"
#include "SimDevice.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    std::vector<uint8_t> request(data + 1, data + size);
    SimDevice device;
    if ((data[0] & 2) && !request.empty()) request[0] = uint8_t(device.Address());
    if (data[0] & 1) MendCrc(request);
    (void)SimDevice::RequestLength(request);
    (void)device.Handle(request);
    return 0;
}
