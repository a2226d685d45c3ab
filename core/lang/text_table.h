#pragma once
// How a language table is held: one row per text field with its UTF-8 source
// text for each language index (nullptr where the table has no text in that
// language). Loading converts the row texts into the table's code page.

#include <array>
#include <cstddef>
#include <span>
#include <string>

#include "core/lang/language.h"

namespace zam1 {

template <typename Table>
struct TextRow {
    std::string Table::*field;
    std::array<const char*, kLanguageCount> text; // by language index - 1
};

template <typename Table>
struct TextTable {
    std::span<const TextRow<Table>> rows;
    unsigned languages;   // bit (index - 1) set for each language the table has
    bool windowsCodePage; // menu tables; all others hold the OEM code page

    bool has(int index) const {
        return index >= 1 && index <= kLanguageCount && (languages >> (index - 1) & 1u) != 0;
    }
};

constexpr unsigned languageBits(std::initializer_list<int> indexes) {
    unsigned bits = 0;
    for (int i : indexes) bits |= 1u << (i - 1);
    return bits;
}

const TextTable<CommonMenuTexts>& commonMenuTable();
const TextTable<ViewMenuTexts>& viewMenuTable();
const TextTable<MainTexts>& mainTextTable();
const TextTable<ReportTexts>& reportTextTable();
const TextTable<ClosingEditorTexts>& closingEditorTable();
const TextTable<GeneralToleranceTexts>& generalToleranceTable();
const TextTable<MessageTexts>& messageTable();

} // namespace zam1
