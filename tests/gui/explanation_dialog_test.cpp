// The message explanation driven by object name: the texts in the user's
// characters, and what it reports back however it was closed.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

#include "gui/editors/explanation_dialog.h"
#include "tests/gui/dialog_test_support.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

TEST(ExplanationDialog, ReportsEditsAndCancelHoweverItIsClosed) {
    struct Row {
        const char* name;
        bool edit;
        bool escape;
    };
    for (const Row& row : {Row{"OK without edits", false, false}, Row{"OK after an edit", true, false},
                           Row{"Escape after an edit", true, true}, Row{"Escape without edits", false, true}}) {
        SCOPED_TRACE(row.name);
        QtExplanationView view(nullptr);
        QString message, cause, caption;
        ModalScript script({[&](QWidget& d) {
            caption = d.windowTitle();
            message = child<QLineEdit>(d, "Edit_meldung").text();
            cause = child<QPlainTextEdit>(d, "Memo_ursache").toPlainText();
            EXPECT_EQ(child<QLabel>(d, "Label_abhilfe").text(), QStringLiteral("Abhilfe"));
            if (!row.edit && !row.escape) test::keepShot(d, QStringLiteral("helperr"));
            if (row.edit) {
                auto& remedy = child<QPlainTextEdit>(d, "Memo_abhilfe");
                remedy.setFocus();
                remedy.moveCursor(QTextCursor::End);
                test::typeText(&remedy, QStringLiteral(" prüfen"));
            }
            if (row.escape) {
                QTest::keyClick(&d, Qt::Key_Escape);
            } else {
                child<QPushButton>(d, "Button_ok").click();
            }
        }});
        // CP850: 0x84 is "ä", 0x81 is "ü".
        const ExplanationEdit e = view.show("Toleranz \x84ndern", "Ursache mit \x81", "Ma\xe1 ");
        EXPECT_EQ(caption, QStringLiteral("Fehlermeldung"));
        EXPECT_EQ(message, QStringLiteral("Toleranz ändern"));
        EXPECT_EQ(cause, QStringLiteral("Ursache mit ü"));
        EXPECT_EQ(e.changed, row.edit);
        EXPECT_EQ(e.cancelled, row.escape);
        EXPECT_EQ(e.cause, "Ursache mit \x81");
        EXPECT_EQ(e.remedy, row.edit ? std::string("Ma\xe1  pr\x81" "fen") : std::string("Ma\xe1 "));
    }
}

} // namespace
} // namespace zam1
