// Any bytes given as a CSV element table: the reader must refuse or accept them
// within its limits, without reading out of bounds, leaking or throwing, and what
// it accepts must be an element table the calculation can take.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "core/lang/language.h"
#include "fuzz/element_import_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ExchangeTexts& words = exchangeTexts(kGerman);
    useElementImport(readElementCsv(input, words), words);
    return 0;
}
