#pragma once
// What every element-table reader's target does with the reader's answer: a
// refusal must make its message, an accepted table must go into a chain and
// through the calculation's working values.

#include <memory>

#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"

namespace zam1 {

inline void useElementImport(const ElementImport& imported, const ExchangeTexts& words) {
    if (imported.problem) {
        (void)importProblemText(*imported.problem, {}, words);
        return;
    }
    auto chain = std::make_unique<Chain>();
    (void)compareElements(*chain, imported.elements);
    applyElementImport(*chain, imported.elements);
    deriveElementValues(*chain);
}

} // namespace zam1
