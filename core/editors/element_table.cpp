#include "core/editors/element_table.h"

#include <algorithm>
#include <map>

#include "core/analysis/input_check.h"
#include "core/model/calculation.h"
#include "core/model/chain.h"
#include "core/model/resolution.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "core/standards/general_tolerance.h"
#include "core/standards/iso286.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

bool blank(std::string_view text) { return trimmed(text).empty(); }

// An empty number cell is a 0 that the user has not typed; anything else must
// read as a length within the limit.
LengthReading cellLength(std::string_view text, long double& value) {
    if (blank(text)) {
        value = 0;
        return LengthReading::Read;
    }
    return readLength(text, value);
}

bool cellReads(std::string_view text, long double& value) { return cellLength(text, value) == LengthReading::Read; }

bool readInteger(std::string_view text, long long& value) {
    if (blank(text)) {
        value = 0;
        return true;
    }
    return parseInteger(text, value);
}

bool sameInput(const Element& a, const Element& b) {
    return a.predecessor == b.predecessor && (a.positive != 0) == (b.positive != 0) && a.distance == b.distance &&
           a.upperDev == b.upperDev && a.lowerDev == b.lowerDev && a.text.view() == b.text.view() &&
           a.remark.view() == b.remark.view() && a.isoLetters.view() == b.isoLetters.view() &&
           a.isoGrade == b.isoGrade;
}

} // namespace

CellKind cellKind(int column) {
    switch (column) {
    case kColNumber: return CellKind::Number;
    case kColPredecessor: return CellKind::Integer;
    case kColDirection: return CellKind::Direction;
    case kColNominal:
    case kColUpper:
    case kColLower: return CellKind::Length;
    case kColIso: return CellKind::IsoCode;
    default: return CellKind::Text;
    }
}

int cellCapacity(int column) {
    switch (column) {
    case kColNumber:
    case kColPredecessor: return 4;
    case kColDirection: return 2;
    case kColIso: return 5;  // "js 12"
    case kColText: return static_cast<int>(decltype(Element::text)::capacity);
    case kColRemark: return static_cast<int>(decltype(Element::remark)::capacity);
    default: return 24;
    }
}

bool cellTextValid(int column, std::string_view text) {
    switch (cellKind(column)) {
    case CellKind::Integer: {
        long long value = 0;
        return readInteger(text, value) && value >= 0 && value <= kMaxElements;
    }
    case CellKind::Length: {
        long double value = 0;
        return cellReads(text, value);
    }
    default: return true;
    }
}

bool directionPositive(std::string_view text) {
    text = trimmed(text);
    return text == "+" || text == "1" || text == "+1";
}

std::string gridLength(long double value, int width, int decimals, bool decimalComma) {
    return std::string(trimmed(fixedText(value, width, decimals, decimalComma)));
}

std::string closingChoiceText(int k, const ClosingDimension& closing) {
    return intText(k) + ".: " + intRight(closing.fromElement, 3) + " ==> " + intRight(closing.toElement, 3) +
           "     " + std::string(closing.text.view());
}

ElementTable::ElementTable(ProgramState& state)
    : m_state(state), m_rows(static_cast<std::size_t>(kMaxElements) + 1),
      m_before(std::make_unique<Chain>(state.chain)), m_preview(std::make_unique<Chain>(state.chain)) {
    m_count = state.chain.elementCount();
    resetOrigins();
    fill();
}

void ElementTable::resetOrigins() {
    m_origin.resize(static_cast<std::size_t>(kMaxElements) + 1);
    for (int n = 0; n <= kMaxElements; ++n) m_origin[static_cast<std::size_t>(n)] = n;
    m_replacedBy.clear();
    m_rowsMoved = false;
}

int ElementTable::rowOfElement(int element) const {
    // An element of the chain as it was, followed through deletions to the row it now has.
    for (int step = 0; element > 0 && step <= kMaxElements; ++step) {
        const auto at = std::find(m_origin.begin() + 1, m_origin.end(), element);
        if (at != m_origin.end()) return static_cast<int>(at - m_origin.begin());
        const auto replaced = m_replacedBy.find(element);
        if (replaced == m_replacedBy.end()) return element;
        element = replaced->second;
    }
    return element;
}

ElementTable::~ElementTable() = default;

void ElementTable::fill() {
    const Chain& chain = m_state.chain;
    m_count = chain.elementCount();
    for (int n = 1; n <= kMaxElements; ++n) {
        if (n <= m_count) {
            fillRow(n, chain.element(n));
        } else {
            m_rows[static_cast<std::size_t>(n)].cells = {};
        }
    }
    const int closings = chain.closingCount();
    if (m_chosenClosing > closings || m_chosenClosing == 0) m_chosenClosing = closings > 0 ? 1 : 0;
    *m_preview = chain;
    if (m_chosenClosing > 0) resultsFrom(*m_preview, false);
    emitRows(1, kMaxElements);
}

void ElementTable::fillRow(int row, const Element& e) {
    auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    const int decimals = m_state.chain.decimals;
    cells[kColPredecessor] = intText(e.predecessor);
    cells[kColDirection] = e.positive ? "+" : "-";
    cells[kColNominal] = gridLength(e.distance, 5, decimals);
    cells[kColUpper] = gridLength(e.upperDev, 3, decimals);
    cells[kColLower] = gridLength(e.lowerDev, 3, decimals);
    cells[kColIso] = e.isoGrade != 0 ? std::string(e.isoLetters.view()) + " " + intText(e.isoGrade) : std::string();
    cells[kColText] = std::string(e.text.view());
    cells[kColRemark] = std::string(e.remark.view());
}

void ElementTable::emitRows(int first, int last) {
    if (m_rowsChanged && first <= last) m_rowsChanged(first, last);
}

bool ElementTable::decimalComma() const { return m_state.config.decimalSeparator == 2; }

std::string ElementTable::cell(int row, int column) const {
    if (row < 1 || row > kMaxElements || column < 0 || column >= kElementColumns) return {};
    if (column == kColNumber) return intText(row);
    std::string text = m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
    // Lengths are shown with the configured decimal separator, as in the reports;
    // the cells keep the point, and reading takes either.
    if (cellKind(column) == CellKind::Length && decimalComma()) std::replace(text.begin(), text.end(), '.', ',');
    return text;
}

bool ElementTable::setCell(int row, int column, std::string_view text) {
    if (row < 1 || row > kMaxElements || column <= kColNumber || column >= kElementColumns) return false;
    const std::string cut(text.substr(0, static_cast<std::size_t>(cellCapacity(column))));
    // What was typed stays in the cell, so the user sees and mends it; it is
    // refused, and the grid is not taken over while it stands there.
    m_rows[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)] = cut;
    if (row > m_count) raiseCount(row);
    if (!cellTextValid(column, cut)) {
        refuseCell(row, column);
        return false;
    }
    previewRow(row);
    return true;
}

void ElementTable::refuseCell(int row, int column) const {
    if (!m_state.prompter) return;
    m_state.prompter->beep();
    m_state.prompter->showError(cellProblem(row, column));
}

std::string ElementTable::columnName(int column) const {
    const MainTexts& m = m_state.texts.main;
    switch (column) {
    case kColPredecessor: return m.predecessor;
    case kColDirection: return "+/-";
    case kColNominal: return m.nominalSize;
    case kColUpper: return m.upperTolerance;
    case kColLower: return m.lowerTolerance;
    case kColIso: return m.isoTolerance;
    case kColText: return m.text;
    case kColRemark: return "Info";
    default: return m.elementNumber;
    }
}

std::string ElementTable::cellProblem(int row, int column) const {
    if (row < 1 || row > m_count || column <= kColNumber || column >= kElementColumns) return {};
    const auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    const std::string& text = cells[static_cast<std::size_t>(column)];
    const std::string field = fieldName(row, columnName(column), m_state.texts);
    if (!cellTextValid(column, text)) {
        long double value = 0;
        const LengthReading reading =
            cellKind(column) == CellKind::Length ? cellLength(text, value) : LengthReading::NotANumber;
        return lengthRefusalText(reading, field, text, m_state.texts);
    }
    long double upper = 0, lower = 0;
    if ((column == kColUpper || column == kColLower) && cellReads(cells[kColUpper], upper) &&
        cellReads(cells[kColLower], lower) && upper < lower) {
        const MainTexts& m = m_state.texts.main;
        return m_state.texts.report.elementNo + " " + intText(row) + ": " + m.upperTolerance + " < " +
               m.lowerTolerance + " !";
    }
    long double nominal = 0;
    if (column == kColIso && !blank(text) && cellReads(cells[kColNominal], nominal)) {
        // Evaluated afresh on a copy: marking a cell moves no step position.
        std::string code = text;
        IsoStepPositions positions = m_state.isoSteps;
        const auto evaluation = EvaluateIsoCode(code, nominal, positions);
        if (evaluation && evaluation->isError()) {
            return field + " \"" + std::string(trimmed(text)) + "\": " + evaluation->message;
        }
    }
    return {};
}

void ElementTable::raiseCount(int row) {
    if (row <= m_count) return;
    const int first = m_count + 1;
    // New rows start as cleared elements, as the chain's records do after a new project.
    const Element cleared = Chain::clearedElement();
    for (int n = first; n <= row; ++n) {
        auto& cells = m_rows[static_cast<std::size_t>(n)].cells;
        if (std::all_of(cells.begin(), cells.end(), [](const std::string& c) { return c.empty(); })) {
            cells[kColPredecessor] = intText(cleared.predecessor);
            cells[kColDirection] = "+";
            cells[kColText] = std::string(cleared.text.view());
        }
    }
    m_count = row;
    // Moving into a lower row adds elements to the chain at once; their records
    // are what the rows show, not what an earlier, larger chain left there.
    Chain& chain = m_state.chain;
    if (row > chain.elementCount()) {
        for (int n = chain.elementCount() + 1; n <= row; ++n) {
            chain.element(n) = cleared;
            m_preview->element(n) = cleared;
        }
        chain.setElementCount(row);
    }
    emitRows(first, row);
}

void ElementTable::selectCell(int column, int row) {
    if (row < 1 || row > kMaxElements || column < 0 || column >= kElementColumns) return;
    const int leftColumn = m_column;
    const int leftRow = m_row;
    m_column = column;
    m_row = row;
    raiseCount(row);
    if (leftColumn != kColIso || leftRow < 1 || leftRow > m_count) return;
    const auto& cells = m_rows[static_cast<std::size_t>(leftRow)].cells;
    if (blank(cells[kColIso])) return;
    long double upper = 0, lower = 0;
    if (!cellReads(cells[kColUpper], upper) || !cellReads(cells[kColLower], lower)) return;
    if (upper == 0 && lower == 0 && evaluateIso(leftRow)) emitRows(leftRow, leftRow);
}

bool ElementTable::evaluateIso(int row) {
    auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    long double nominal = 0;
    if (!cellReads(cells[kColNominal], nominal)) {
        refuseCell(row, kColNominal);
        return false;
    }
    std::string code = cells[kColIso];
    const std::string typed(trimmed(code));
    const auto evaluation = EvaluateIsoCode(code, nominal, m_state.isoSteps);
    if (!evaluation) return false;
    // The deviations become 0 as ever, but the user learns why and the cell stays marked.
    if (evaluation->isError() && m_state.prompter) {
        m_state.prompter->showError(fieldName(row, m_state.texts.main.isoTolerance, m_state.texts) + " \"" +
                                    (code.empty() ? typed : code) + "\": " + evaluation->message);
    }
    m_state.chain.element(row).isoGrade = static_cast<std::uint8_t>(std::clamp(evaluation->grade, 0, 255));
    const int decimals = m_state.chain.decimals;
    cells[kColUpper] = gridLength(evaluation->upperUm * 0.001L, 3, decimals);
    cells[kColLower] = gridLength(evaluation->lowerUm * 0.001L, 3, decimals);
    cells[kColIso] = code;
    previewRow(row);
    return true;
}

bool ElementTable::applyGeneralTolerance(int row) {
    auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    if (!blank(cells[kColUpper]) || !blank(cells[kColLower])) {
        const std::string question =
            m_state.texts.tolerance.generalTolerance + " " + std::string(trimmed(cells[kColNominal])) + " ?";
        if (!m_state.prompter || m_state.prompter->askYesNoCancel(question) != Answer::Yes) return false;
    }
    long double nominal = 0;
    if (!cellReads(cells[kColNominal], nominal)) {
        refuseCell(row, kColNominal);
        return false;
    }
    Element& element = m_state.chain.element(row);
    element.distance = nominal;
    ApplyGeneralTolerance(element, m_state.generalTolerance);
    const int decimals = m_state.chain.decimals;
    cells[kColNominal] = gridLength(element.distance, 5, decimals);
    cells[kColUpper] = gridLength(element.upperDev, 3, decimals);
    cells[kColLower] = gridLength(element.lowerDev, 3, decimals);
    cells[kColIso].clear();
    previewRow(row);
    emitRows(row, row);
    return true;
}

bool ElementTable::calculate() {
    if (m_row >= 1 && m_row <= m_count) {
        const auto& cells = m_rows[static_cast<std::size_t>(m_row)].cells;
        if (m_column == kColNominal) {
            applyGeneralTolerance(m_row);
        } else if (m_column == kColIso && !blank(cells[kColIso])) {
            if (evaluateIso(m_row)) emitRows(m_row, m_row);
        }
    }
    if (!takeOver()) return false;
    deriveElementValues(m_state.chain);
    if (m_chosenClosing > 0) resultsFrom(m_state.chain, true);
    return true;
}

bool ElementTable::readRow(int row, Element& e, int& badColumn) const {
    const auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    long long predecessor = 0;
    long double distance = 0, upper = 0, lower = 0;
    // What a cell refuses when typed is refused here too, whichever way it got into the grid.
    if (!cellTextValid(kColPredecessor, cells[kColPredecessor]) || !readInteger(cells[kColPredecessor], predecessor)) {
        badColumn = kColPredecessor;
        return false;
    }
    const int lengthColumns[] = {kColNominal, kColUpper, kColLower};
    long double* lengths[] = {&distance, &upper, &lower};
    for (int i = 0; i < 3; ++i) {
        if (!cellReads(cells[static_cast<std::size_t>(lengthColumns[i])], *lengths[i])) {
            badColumn = lengthColumns[i];
            return false;
        }
    }
    e.predecessor = static_cast<std::int32_t>(predecessor);
    e.positive = directionPositive(cells[kColDirection]) ? 1 : 0;
    e.distance = distance;
    e.upperDev = upper;
    e.lowerDev = lower;
    if (blank(cells[kColIso])) {
        e.isoLetters = "";
        e.isoGrade = 0;
    } else {
        const IsoCodeParts parts = SplitIsoCode(cells[kColIso]);
        e.isoLetters = std::string_view(parts.letters).substr(0, 2);
        e.isoGrade = static_cast<std::uint8_t>(std::clamp(parts.grade, 0, 255));
    }
    e.text = cells[kColText];
    e.remark = cells[kColRemark];
    return true;
}

bool ElementTable::takeOver() {
    Chain& chain = m_state.chain;
    // Nothing is written unless every row reads: a typo never becomes a silent 0.
    for (int n = 1; n <= m_count; ++n) {
        Element probe = chain.element(n);
        int badColumn = 0;
        if (!readRow(n, probe, badColumn)) {
            m_column = badColumn;
            m_row = n;
            refuseCell(n, badColumn);
            return false;
        }
    }
    for (int n = 1; n <= m_count; ++n) {
        int badColumn = 0;
        readRow(n, chain.element(n), badColumn);
    }
    chain.setElementCount(m_count);
    // Rows inserted or deleted move the elements the closing dimensions name.
    if (m_rowsMoved) {
        for (int k = 1; k <= chain.closingCount(); ++k) {
            ClosingDimension& c = chain.closing(k);
            c.fromElement = rowOfElement(c.fromElement);
            c.toElement = rowOfElement(c.toElement);
        }
        resetOrigins();
    }
    return true;
}

bool ElementTable::accept() {
    if (!m_state.prompter) return false;
    m_state.error.clear();
    long long count = m_count;
    constexpr int kHelpElementCount = 5140;
    const PromptHelp help(*m_state.prompter, kHelpElementCount);
    if (!askInteger(*m_state.prompter, m_state.texts.main.elementCountPrompt, count, 0, kMaxElements)) return false;
    const int previous = m_count;
    if (count > previous) {
        raiseCount(static_cast<int>(count));
    } else {
        m_count = static_cast<int>(count);
    }
    if (!takeOver()) {
        m_count = std::max(m_count, previous);
        return false;
    }
    warnImplausible();
    return true;
}

void ElementTable::warnImplausible() const {
    // Accepted as typed, but said: such an element is most likely a slip.
    constexpr int kShown = 5;
    std::string warning;
    int problems = 0;
    for (int n = 1; n <= m_count && problems <= kShown; ++n) {
        for (int column : {kColUpper, kColIso}) {
            const std::string problem = cellProblem(n, column);
            if (problem.empty()) continue;
            if (++problems > kShown) break;
            warning += (warning.empty() ? "" : "\n") + problem;
        }
    }
    if (problems > kShown) warning += "\n...";
    if (!warning.empty() && m_state.prompter) m_state.prompter->showNote(warning);
}

void ElementTable::showTolerances(int row) {
    if (row < 1 || row > kMaxElements) return;
    auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    const Element& e = m_state.chain.element(row);
    cells[kColUpper] = gridLength(e.upperDev, 3, m_state.chain.decimals);
    cells[kColLower] = gridLength(e.lowerDev, 3, m_state.chain.decimals);
    previewRow(row);
    emitRows(row, row);
}

void ElementTable::setInclinedDistance(long double x, long double upper, long double lower) {
    if (m_row < 1 || m_row > kMaxElements) return;
    raiseCount(m_row);
    auto& cells = m_rows[static_cast<std::size_t>(m_row)].cells;
    const int decimals = m_state.chain.decimals;
    cells[kColNominal] = gridLength(x, 5, decimals);
    cells[kColUpper] = gridLength(upper, 3, decimals);
    cells[kColLower] = gridLength(lower, 3, decimals);
    previewRow(m_row);
    emitRows(m_row, m_row);
}

bool ElementTable::insertRow(int row) {
    if (row < 1 || row > m_count + 1) return false;
    if (m_count >= kMaxElements) {
        if (m_state.prompter) m_state.prompter->showError(m_state.texts.closingEditor.tooManyData + " !");
        return false;
    }
    for (int n = 1; n <= m_count; ++n) {
        auto& p = m_rows[static_cast<std::size_t>(n)].cells[kColPredecessor];
        long long value = 0;
        if (readInteger(p, value) && value >= row) p = intText(value + 1);
    }
    m_rows.insert(m_rows.begin() + row, Row{});
    m_rows.pop_back();
    m_origin.insert(m_origin.begin() + row, 0);  // a new element, named by no closing dimension
    m_origin.pop_back();
    m_rowsMoved = true;
    auto& cells = m_rows[static_cast<std::size_t>(row)].cells;
    const Element cleared = Chain::clearedElement();
    cells[kColPredecessor] = intText(row > 1 ? row - 1 : 0);
    cells[kColDirection] = "+";
    cells[kColText] = std::string(cleared.text.view());
    ++m_count;
    *m_preview = m_state.chain;
    for (int n = 1; n <= m_count; ++n) previewRow(n);
    emitRows(row, m_count);
    return true;
}

bool ElementTable::deleteRow(int row) {
    if (row < 1 || row > m_count) return false;
    for (int n = 1; n <= m_count; ++n) {
        auto& p = m_rows[static_cast<std::size_t>(n)].cells[kColPredecessor];
        long long value = 0;
        // The deleted element's successors now hang on its own predecessor.
        if (readInteger(p, value) && value > row) {
            p = intText(value - 1);
        } else if (readInteger(p, value) && value == row) {
            p = m_rows[static_cast<std::size_t>(row)].cells[kColPredecessor];
        }
    }
    long long predecessorRow = 0;
    readInteger(m_rows[static_cast<std::size_t>(row)].cells[kColPredecessor], predecessorRow);
    const int deleted = m_origin[static_cast<std::size_t>(row)];
    if (deleted > 0) {
        // A closing dimension that ended at the deleted element ends at its predecessor.
        const bool known = predecessorRow > 0 && predecessorRow <= kMaxElements;
        m_replacedBy[deleted] = known ? m_origin[static_cast<std::size_t>(predecessorRow)] : 0;
    }
    m_rows.erase(m_rows.begin() + row);
    m_rows.emplace_back();
    m_origin.erase(m_origin.begin() + row);
    m_origin.push_back(0);
    m_rowsMoved = true;
    const int last = m_count;
    --m_count;
    for (int n = 1; n <= m_count; ++n) previewRow(n);
    emitRows(row, last);
    return true;
}

std::vector<std::string> ElementTable::closingItems() const {
    std::vector<std::string> items;
    const Chain& chain = m_state.chain;
    for (int k = 1; k <= chain.closingCount(); ++k) items.push_back(closingChoiceText(k, chain.closing(k)));
    return items;
}

void ElementTable::chooseClosing(int k) {
    if (k < 1 || k > m_state.chain.closingCount()) {
        m_chosenClosing = 0;
        m_results = {};
        return;
    }
    m_chosenClosing = k;
    previewResults(true);
}

void ElementTable::previewRow(int row) {
    if (row < 1 || row > kMaxElements) return;
    Element& e = m_preview->element(row);
    int badColumn = 0;
    readRow(row, e, badColumn);  // an unreadable cell keeps the last value that read
}

void ElementTable::previewResults(bool promptErrors) {
    Chain& preview = *m_preview;
    const Chain& chain = m_state.chain;
    preview.setElementCount(m_count);
    preview.setClosingCount(chain.closingCount());
    for (int k = 1; k <= chain.closingCount(); ++k) preview.closing(k) = chain.closing(k);
    preview.productionSigma = chain.productionSigma;
    preview.decimals = chain.decimals;
    if (m_chosenClosing < 1 || m_chosenClosing > chain.closingCount()) {
        m_results = {};
        return;
    }
    resultsFrom(preview, promptErrors);
}

void ElementTable::resultsFrom(Chain& chain, bool promptErrors) {
    const ClosingDimension& closing = chain.closing(m_chosenClosing);
    deriveElementValues(chain);
    resolveDistance(chain, rowOfElement(closing.fromElement), rowOfElement(closing.toElement));
    // The values of another closing dimension, or of the chain before the change,
    // must not stand beside a failed one.
    m_results = {};
    if (!chain.result.structureError.empty()) {
        m_results.message = std::string(chain.result.structureError.view());
        if (promptErrors && m_state.prompter) m_state.prompter->showError(m_results.message);
        return;
    }
    if (!checkTolerance(chain, m_state.texts.main.tolerance)) {
        m_results.message = m_state.texts.main.tolerance + " = 0 ? !";
        return;
    }
    const ClosingResult& r = chain.result;
    m_results.valid = true;
    m_results.maximum = {r.closingMax, statisticalMax(r)};
    m_results.minimum = {r.closingMin, statisticalMin(r)};
    m_results.tolerance = {classicTolerance(r), statisticalTolerance(r)};
}

std::string ElementTable::resultText(int row, int column) const {
    if (!m_results.valid || column < 0 || column > 1) return {};
    const auto c = static_cast<std::size_t>(column);
    const long double value = row == 0 ? m_results.maximum[c] : row == 1 ? m_results.minimum[c] : m_results.tolerance[c];
    return gridLength(value, 4, m_state.chain.decimals, decimalComma());
}

bool ElementTable::chainChanged() const {
    const Chain& chain = m_state.chain;
    if (chain.elementCount() != m_before->elementCount()) return true;
    for (int n = 1; n <= kMaxElements; ++n) {
        if (!sameInput(chain.element(n), m_before->element(n))) return true;
    }
    return false;
}

Chain ElementTable::typedChain() const {
    Chain typed = m_state.chain;
    for (int n = 1; n <= m_count; ++n) {
        Element element = typed.element(n);
        int badColumn = 0;
        if (readRow(n, element, badColumn)) typed.element(n) = element;
    }
    typed.setElementCount(m_count);
    return typed;
}

} // namespace zam1
