// Any bytes given as a CSV element table: the reader must refuse or accept them
// within its limits, without reading out of bounds, leaking or throwing, and what
// it accepts must be an element table the calculation can take.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace zam1;
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const ExchangeTexts& words = exchangeTexts(kGerman);
    const ElementImport imported = readElementCsv(input, words);
    if (imported.problem) {
        (void)importProblemText(*imported.problem, {}, words);
        return 0;
    }
    auto chain = std::make_unique<Chain>();
    (void)compareElements(*chain, imported.elements);
    applyElementImport(*chain, imported.elements);
    deriveElementValues(*chain);
    return 0;
}
