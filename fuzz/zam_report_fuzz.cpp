// Any bytes given as a ZAM export report: the import must refuse or accept them
// without reading out of bounds, and what it accepts must be a chain the
// calculation can resolve without faults.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/files/zam_import.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/records/documentation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    auto chain = std::make_unique<Chain>();
    ProjectTexts texts;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (parseZamReport(bytes, *chain, texts).status != ZamImportStatus::Ok) return 0;
    deriveElementValues(*chain);
    for (int k = 1; k <= chain->closingCount(); ++k) {
        resolveDistance(*chain, chain->closing(k).fromElement, chain->closing(k).toElement);
    }
    return 0;
}
