// Any bytes given as a project file: the reader must refuse or accept them
// without reading out of bounds, and what it accepts must write and read back,
// with the report decimals and separator a user may have set (taken from the
// project's own decimals and the input's length, so that both vary).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/files/project_file.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/records/documentation.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    auto chain = std::make_unique<Chain>();
    ProjectTexts texts;
    Documentation docs;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (parseProjectFile(bytes, *chain, texts, docs).status != ProjectReadStatus::Ok) return 0;
    deriveElementValues(*chain);
    for (int k = 1; k <= chain->closingCount(); ++k) {
        resolveDistance(*chain, chain->closing(k).fromElement, chain->closing(k).toElement);
    }
    const ProjectFileOptions options{{std::clamp(chain->decimals, 1, 9), size % 2 == 1}, {}};
    const std::string written = projectFileText(*chain, texts, docs, options);
    auto again = std::make_unique<Chain>();
    ProjectTexts texts2;
    Documentation docs2;
    if (parseProjectFile(written, *again, texts2, docs2).status != ProjectReadStatus::Ok) __builtin_trap();
    if (projectFileText(*again, texts2, docs2, options) != written) __builtin_trap();
    return 0;
}
