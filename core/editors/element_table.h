#pragma once
// The rules of the element table editor without its window: the grid's cell
// texts (CP850, one row per element number up to the limit), what selecting a
// cell does, Berechnen, taking the grid over into the chain, the closing-dimension
// choice and the result values. The dialog only shows these cells and forwards
// the user's actions here.

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/records.h"

namespace zam1 {

struct ProgramState;
class Chain;

enum ElementColumn : int {
    kColNumber = 0,
    kColPredecessor,
    kColDirection,
    kColNominal,
    kColUpper,
    kColLower,
    kColIso,
    kColText,
    kColRemark,
    kElementColumns
};

enum class CellKind { Number, Integer, Direction, Length, IsoCode, Text };

CellKind cellKind(int column);
// Characters a cell takes: element numbers 4 digits, texts their stored capacity.
int cellCapacity(int column);
// Whether a finished entry can be taken over; an empty number cell reads as 0.
bool cellTextValid(int column, std::string_view text);
// The direction rule: "+", "1" and "+1" are positive, anything else negative.
bool directionPositive(std::string_view text);

// A grid length as the table shows it: `width` characters at least, the chain's decimals.
std::string gridLength(long double value, int width, int decimals, bool decimalComma = false);

// One line of the closing-dimension choice: "3.:   1 ==>  12     Spiel".
std::string closingChoiceText(int k, const ClosingDimension& closing);

// The 3 x 2 values of the result grid (classic, statistical) for one closing dimension.
struct ResultValues {
    bool valid = false;
    std::array<long double, 2> maximum{};
    std::array<long double, 2> minimum{};
    std::array<long double, 2> tolerance{};
    std::string message;  // CP850: why there are no values (structure error, zero tolerance)
};

class ElementTable {
public:
    using RowsChanged = std::function<void(int firstRow, int lastRow)>;

    explicit ElementTable(ProgramState& state);
    ~ElementTable();
    ElementTable(const ElementTable&) = delete;
    ElementTable& operator=(const ElementTable&) = delete;

    // Called whenever cells of rows firstRow..lastRow changed by a rule (not by setCell).
    void setRowsChanged(RowsChanged callback) { m_rowsChanged = std::move(callback); }

    // Rows 1..count from the chain, the rows below empty; the closing choice refilled.
    void fill();

    static constexpr int rowCount() { return kMaxElements; }
    // Cell text in CP850; row 1..kMaxElements, column 0..8. Column 0 is the row number.
    std::string cell(int row, int column) const;

    // The user finished typing a cell. The cell keeps what was typed; a number
    // that does not read, or a length beyond the limit, is refused with a message
    // naming the element, the column and the text. Returns whether it was taken.
    bool setCell(int row, int column, std::string_view text);

    // Why a cell is marked (CP850), empty when it is not: a text that does not
    // read or lies beyond the length limit, an upper tolerance below the lower
    // one (both cells), an ISO code that cannot be evaluated at the row's nominal.
    std::string cellProblem(int row, int column) const;

    // The selection moves to (column, row): the ISO cell being left may be
    // evaluated, and a row below the last element raises the element count.
    void selectCell(int column, int row);
    int currentColumn() const { return m_column; }
    int currentRow() const { return m_row; }

    // Berechnen on the current cell. False when the grid could not be taken over.
    bool calculate();

    // Rows 1..elementCount into the chain. An unreadable number refuses all of it
    // with the invalid-input message and makes that cell current; returns false.
    bool takeOver();

    // OK: asks for the element count, then takes the grid over. False: stay open.
    // Elements taken over with a marked tolerance or ISO cell are listed in a note.
    bool accept();

    // The element sigma dialog changed the element of the current row: its
    // tolerances are written back into the row.
    void showTolerances(int row);
    // Writes the angle dialog's results into the current row's nominal and tolerances.
    void setInclinedDistance(long double x, long double upper, long double lower);

    // Inserting a row before `row` shifts the rows below down and renumbers the
    // predecessors that pointed at or below it; deleting shifts them up. False
    // (with the message) at the element limit or outside the elements.
    bool insertRow(int row);
    bool deleteRow(int row);

    // The closing-dimension choice: item texts, the chosen one (1-based, 0 = none).
    std::vector<std::string> closingItems() const;
    int chosenClosing() const { return m_chosenClosing; }
    // Chooses closing dimension k and calculates its results from the grid,
    // showing a structure error as a message.
    void chooseClosing(int k);
    // The results of the chosen closing dimension from the grid as it stands, without
    // taking it over; problems go into the result message, and into a prompt only
    // when asked (after each keystroke a message box would be in the way).
    void previewResults(bool promptErrors = false);
    const ResultValues& results() const { return m_results; }
    // Result cell text: row 0..2 (maximum, minimum, tolerance), column 0..1 (classic, statistical).
    std::string resultText(int row, int column) const;

    // Whether anything was written into the chain since the table was built.
    bool chainChanged() const;

    // The chain as the grid stands, without taking it over: every row that
    // reads, over the chain's other data (the working copy while the user types).
    Chain typedChain() const;

private:
    struct Row {
        std::array<std::string, kElementColumns> cells;
    };

    void fillRow(int row, const Element& element);
    bool decimalComma() const;
    void emitRows(int first, int last);
    void raiseCount(int row);
    bool readRow(int row, Element& element, int& badColumn) const;
    bool evaluateIso(int row);
    bool applyGeneralTolerance(int row);
    void resultsFrom(Chain& chain, bool promptErrors);
    void refuseCell(int row, int column) const;
    std::string columnName(int column) const;
    void warnImplausible() const;
    void previewRow(int row);
    void resetOrigins();
    int rowOfElement(int element) const;

    ProgramState& m_state;
    std::vector<Row> m_rows;  // index 0 unused
    int m_count = 0;  // rows in use; the chain learns it when the grid is taken over
    int m_column = 1;
    int m_row = 1;
    int m_chosenClosing = 0;
    ResultValues m_results;
    RowsChanged m_rowsChanged;
    // Which element of the chain each row held when the grid was last taken over
    // (0: a row inserted since), and where deleted elements' references go.
    std::vector<int> m_origin;
    std::map<int, int> m_replacedBy;
    bool m_rowsMoved = false;
    std::unique_ptr<Chain> m_before;   // the chain as the editor found it
    std::unique_ptr<Chain> m_preview;  // the grid as it stands, for the live results
};

} // namespace zam1
