#include "gui/editors/element_table_model.h"

#include <QBrush>
#include <QLineEdit>
#include <QPalette>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QTimer>

#include "core/editors/element_table.h"
#include "core/lang/language.h"
#include "gui/editors/cell_input.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {

ElementTableModel::ElementTableModel(ElementTable& table, const LanguageTexts& texts, QObject* parent)
    : QAbstractTableModel(parent), m_table(table) {
    const MainTexts& m = texts.main;
    for (const std::string* h : {&m.elementNumber, &m.predecessor}) m_headers << fromOem(*h);
    m_headers << QStringLiteral("+/-");
    for (const std::string* h : {&m.nominalSize, &m.upperTolerance, &m.lowerTolerance, &m.isoTolerance, &m.text}) {
        m_headers << fromOem(*h);
    }
    m_headers << QStringLiteral("Info");
}

int ElementTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ElementTable::rowCount();
}

int ElementTableModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kElementColumns; }

QVariant ElementTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return fromOem(m_table.cell(index.row() + 1, index.column()));
    }
    if (role == Qt::TextAlignmentRole) {
        const CellKind kind = cellKind(index.column());
        const bool right = kind == CellKind::Length || kind == CellKind::Integer || kind == CellKind::Number;
        return QVariant::fromValue((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    if (role == Qt::BackgroundRole && index.column() == kColNumber) return QPalette().brush(QPalette::Button);
    if (role == Qt::BackgroundRole || role == Qt::ToolTipRole) {
        // A cell the table will not take, or whose value it doubts, is marked and says why.
        const std::string problem = m_table.cellProblem(index.row() + 1, index.column());
        if (problem.empty()) return {};
        return role == Qt::ToolTipRole ? QVariant(fromOem(problem)) : QVariant(QBrush(QColor(255, 205, 205)));
    }
    return {};
}

bool ElementTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int row = index.row() + 1;
    const int column = index.column();
    const std::string text = qtToOem(value.toString(), static_cast<std::size_t>(cellCapacity(column)));
    if (text == m_table.cell(row, column)) return true;
    if (!cellTextValid(column, text)) {
        // The message waits until the view has closed the editor: a message box
        // opened inside the commit would take the focus and commit the editor again.
        if (!m_messagePending) {
            m_messagePending = true;
            QTimer::singleShot(0, this, [this, row, column, text] {
                m_messagePending = false;
                m_table.setCell(row, column, text);  // kept as typed, refused with the message
                const QModelIndex at = this->index(row - 1, column);
                emit dataChanged(at, at, {Qt::DisplayRole, Qt::EditRole});
            });
        }
        return false;
    }
    if (!m_table.setCell(row, column, text)) return false;
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    emit cellEdited(row, column);
    return true;
}

QVariant ElementTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return m_headers.value(section);
    return section + 1;
}

Qt::ItemFlags ElementTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() != kColNumber) f |= Qt::ItemIsEditable;
    return f;
}

void ElementTableModel::rowsChangedByRule(int firstRow, int lastRow) {
    emit dataChanged(index(firstRow - 1, 0), index(lastRow - 1, kElementColumns - 1), {Qt::DisplayRole, Qt::EditRole});
}

QWidget* ElementCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                           const QModelIndex& index) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("CellEditor"));
    edit->setFrame(false);
    const int column = index.column();
    edit->setMaxLength(cellCapacity(column));
    switch (cellKind(column)) {
    case CellKind::Direction: {
        static const QRegularExpression direction(QStringLiteral("^ *(\\+|-|\\+?1|0)? *$"));
        edit->setValidator(new QRegularExpressionValidator(direction, edit));
        break;
    }
    default: break;
    }
    return edit;
}

} // namespace zam1
