// Any code text at any size: an ISO 286 evaluation never reads beside a table.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/standards/iso286.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    if (size < sizeof(double)) return 0;
    double nominal = 0;
    std::memcpy(&nominal, data, sizeof nominal);
    std::string code(reinterpret_cast<const char*>(data) + sizeof nominal, size - sizeof nominal);
    IsoStepPositions positions;
    (void)EvaluateIsoCode(code, nominal, positions);
    return 0;
}
