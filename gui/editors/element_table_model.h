#pragma once
// The element grid as a model over the editor's rules: 2500 rows whose cells are
// read on demand, so an edit or a rule repaints only the rows it changed.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>

namespace zam1 {

class ElementTable;
struct LanguageTexts;

class ElementTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    ElementTableModel(ElementTable& table, const LanguageTexts& texts, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Rows 1-based as the editor counts them; the model's rows are 0-based.
    void rowsChangedByRule(int firstRow, int lastRow);

signals:
    // A cell the user typed was taken.
    void cellEdited(int row, int column);

private:
    ElementTable& m_table;
    QStringList m_headers;
    bool m_messagePending = false;
};

// One line editor on the current cell: the cell's capacity and, for numbers, a
// validator that accepts "." and "," whatever the locale.
class ElementCellDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace zam1
