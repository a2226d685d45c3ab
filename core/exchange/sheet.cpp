#include "core/exchange/sheet.h"

#include <algorithm>

#include "core/exchange/exchange_texts.h"
#include "core/files/overview.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/model/closing_solution.h"
#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

std::string utf8(std::string_view oem) { return oemToUtf8(oem); }

std::string withMethod(const std::string& word, const std::string& method) {
    return utf8(word) + " (" + utf8(method) + ")";
}

} // namespace

std::string isoCodeText(std::string_view letters, int grade) {
    if (grade == 0 || letters.empty()) return {};
    return std::string(letters) + " " + intText(grade);
}

std::vector<std::string> elementHeadings(const LanguageTexts& texts) {
    const MainTexts& t = texts.main;
    return {utf8(t.elementNumber),  utf8(t.predecessor),    "+/-",
            utf8(t.nominalSize),    utf8(t.upperTolerance), utf8(t.lowerTolerance),
            utf8(t.isoTolerance),   utf8(t.text),           "Info"};
}

Worksheet elementSheet(const Chain& chain, const LanguageTexts& texts, const ExchangeTexts& words) {
    Worksheet sheet;
    sheet.name = std::string(words.elementSheet);
    sheet.decimals = chain.decimals;
    sheet.headings = elementHeadings(texts);
    for (int n = 1; n <= chain.elementCount(); ++n) {
        const Element& e = chain.element(n);
        sheet.rows.push_back({WorksheetCell::integer(n), WorksheetCell::integer(e.predecessor),
                              WorksheetCell::textCell(e.positive != 0 ? "+" : "-"), WorksheetCell::value(e.distance),
                              WorksheetCell::value(e.upperDev), WorksheetCell::value(e.lowerDev),
                              WorksheetCell::textCell(utf8(isoCodeText(e.isoLetters.view(), e.isoGrade))),
                              WorksheetCell::textCell(utf8(e.text.view())), WorksheetCell::textCell(utf8(e.remark.view()))});
    }
    return sheet;
}

Worksheet closingSheet(const Chain& chain, const std::vector<ClosingSolution>& solutions, const LanguageTexts& texts,
                   const ExchangeTexts& words) {
    const MainTexts& t = texts.main;
    Worksheet sheet;
    sheet.name = std::string(words.closingSheet);
    sheet.decimals = chain.decimals;
    sheet.headings = {"Nr.",
                      utf8(texts.closingEditor.fromElement),
                      utf8(texts.closingEditor.toElement),
                      utf8(t.text),
                      "Info",
                      utf8(t.nominalSize),
                      withMethod(t.maximumSize, t.classicMethod),
                      withMethod(t.minimumSize, t.classicMethod),
                      withMethod(t.tolerance, t.classicMethod),
                      std::string(words.meanSize),
                      withMethod(t.maximumSize, t.statisticalMethod),
                      withMethod(t.minimumSize, t.statisticalMethod),
                      withMethod(t.tolerance, t.statisticalMethod),
                      std::string(words.structureError)};
    for (int k = 1; k <= chain.closingCount(); ++k) {
        const ClosingDimension& c = chain.closing(k);
        std::vector<WorksheetCell> row{WorksheetCell::integer(k), WorksheetCell::integer(c.fromElement),
                                   WorksheetCell::integer(c.toElement), WorksheetCell::textCell(utf8(c.text.view())),
                                   WorksheetCell::textCell(utf8(c.remark.view()))};
        const ClosingSolution* s =
            static_cast<std::size_t>(k) <= solutions.size() ? &solutions[static_cast<std::size_t>(k - 1)] : nullptr;
        if (s != nullptr && s->resolved) {
            const ClosingSums& r = s->sums;
            for (long double v : {r.closingNominal, r.closingMax, r.closingMin, r.closingMax - r.closingMin,
                                  r.closingMean, r.closingMean + r.closingStatDev, r.closingMean - r.closingStatDev,
                                  2 * r.closingStatDev}) {
                row.push_back(WorksheetCell::value(v));
            }
            row.push_back({});
        } else {
            row.resize(sheet.headings.size() - 1);
            row.push_back(WorksheetCell::textCell(s != nullptr ? utf8(s->structureError.view()) : std::string()));
        }
        sheet.rows.push_back(std::move(row));
    }
    return sheet;
}

Worksheet overviewSheet(const std::vector<OverviewRow>& rows, const ExchangeTexts& words) {
    Worksheet sheet;
    sheet.name = std::string(words.overviewSheet);
    for (std::string_view heading : overviewHeadings()) sheet.headings.emplace_back(heading);
    int decimals = 0;
    for (const OverviewRow& source : rows) {
        std::vector<WorksheetCell> row;
        for (int c = 0; c < kOverviewColumns; ++c) {
            const std::string& cell = source.cells[static_cast<std::size_t>(c)];
            long double value = 0;
            if (overviewColumnIsNumeric(c) && !cell.empty() && parseNumber(cell, value)) {
                row.push_back(c <= 7 ? WorksheetCell::integer(static_cast<long long>(value)) : WorksheetCell::value(value));
                // The overview prints its lengths with the configured decimals; show as many.
                const std::size_t separator = cell.find_first_of(".,");
                if (c > 7 && separator != std::string::npos) {
                    decimals = std::max(decimals, static_cast<int>(cell.size() - separator - 1));
                }
            } else {
                row.push_back(cell.empty() ? WorksheetCell{} : WorksheetCell::textCell(utf8(cell)));
            }
        }
        sheet.rows.push_back(std::move(row));
    }
    sheet.decimals = decimals;
    return sheet;
}

} // namespace zam1
