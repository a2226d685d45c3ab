#pragma once
// The element table editor `TForm_zam1elemente`: the element grid, the closing
// dimension choice with its results, Berechnen, and the general-tolerance, sigma
// and angle dialogs for the current row.

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QLabel;
class QTableView;
class QTableWidget;

namespace zam1 {

struct ProgramState;
class ElementTable;
class ElementTableModel;

// The closing-dimension editor that the ".." button runs; true when it changed
// the chain. Without one the button is disabled.
using ClosingDimensionEditor = std::function<bool(ProgramState& state, QWidget* parent)>;

// The spreadsheet exchange of the element table behind "Export->Excel" and
// "Import<-Excel"; true when it changed the chain. Without them the buttons are
// disabled. The grid is taken over before an export, and refilled from the chain
// after an import.
using ElementTableExchange = std::function<bool(ProgramState& state, QWidget* parent)>;

// What the editor runs of the window's: handed in by whoever opens it, held for
// the editor's life only.
struct ElementTableCollaborators {
    ClosingDimensionEditor closingEditor;
    ElementTableExchange exportTable;
    ElementTableExchange importTable;
};

// Entry point of the menu item `mi_editelementetabelle` and the guided input: runs
// the editor modally. True when anything was taken over into the chain (a Cancel
// after Berechnen keeps what Berechnen took over, and still gives true); false
// when the chain is as it was. OK clears the error flag, Cancel sets it. The caller
// marks the project modified and takes the undo snapshot.
bool editElementTable(ProgramState& state, QWidget* parent, ElementTableCollaborators with = {});

class TForm_zam1elemente final : public QDialog {
    Q_OBJECT
public:
    TForm_zam1elemente(ProgramState& state, QWidget* parent, ElementTableCollaborators with = {});
    ~TForm_zam1elemente() override;

    ElementTable& table() { return *m_table; }
    QTableView& grid() { return *m_grid; }

    void FormShow();
    void StringGrid1SelectCell(int column, int row);
    void ComboBox1Change(int index);
    void Button_okClick();
    void Button_cancelClick();
    void Button_berechnenClick();
    void Button_freimassClick();
    void Button_schliessmassClick();
    void Button_sigmatolClick();
    void Button_winkelClick();
    void Button_hilfebildClick();
    void Button_einfuegenClick();
    void Button_loeschenClick();
    void Button_exportexcelClick();
    void Button_importExcelClick();

private:
    void buildGrid();
    QLayout* buildResults();
    QLayout* buildButtons();
    void fillClosingChoice();
    void showResults();
    void moveTo(int column, int row);
    void finishTyping();

    ProgramState& m_state;
    ElementTableCollaborators m_with;
    std::unique_ptr<ElementTable> m_table;
    ElementTableModel* m_model = nullptr;
    QTableView* m_grid = nullptr;
    QTableWidget* m_results = nullptr;
    QComboBox* m_closingChoice = nullptr;
    QLabel* m_message = nullptr;
    bool m_placing = false;
};

} // namespace zam1
