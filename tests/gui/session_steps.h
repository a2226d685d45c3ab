#pragma once
// What the session tests do in the program's dialogs as a user would: type into
// a cell of the element table, press a button by its object name.

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/gui/modal_script.h"

namespace zam1::test {

// Makes (row, column) current, which opens its editor, enters `text` as one
// input (the test keyboard knows no umlauts) and finishes the cell with `leave`:
// Tab moves on, Enter stays on the cell (as before "Berechnen").
inline void typeCell(QWidget& dialog, int row, int column, const QString& text, Qt::Key leave = Qt::Key_Tab) {
    auto& grid = child<QTableView>(dialog, "StringGrid1");
    grid.setCurrentIndex(grid.model()->index(row - 1, column));
    QLineEdit* line = nullptr;
    for (QLineEdit* e : grid.findChildren<QLineEdit*>(QStringLiteral("CellEditor"))) {
        if (e->isVisible()) line = e;  // closed editors linger, hidden, until deleted
    }
    ASSERT_NE(line, nullptr) << "no editor on row " << row << " column " << column;
    line->selectAll();
    line->insert(text);
    QTest::keyClick(line, leave);
}

inline void click(QWidget& dialog, const char* name) {
    auto* button = dialog.findChild<QPushButton*>(QLatin1String(name));
    ASSERT_NE(button, nullptr) << name << " in " << dialog.objectName().toStdString();
    button->click();
}

} // namespace zam1::test
