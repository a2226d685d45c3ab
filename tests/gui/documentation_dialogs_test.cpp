// The documentation dialogs driven by object name: what the core hands over is
// shown in the user's characters, what the user leaves is given back in the
// stored code page, and Abbrechen gives nothing.
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>

#include <gtest/gtest.h>

#include "core/platform/scripted_prompter.h"
#include "gui/editors/documentation_dialogs.h"
#include "tests/gui/dialog_test_support.h"
#include "tests/gui/modal_script.h"

namespace zam1 {
namespace {

using test::child;
using test::ModalScript;

void click(QWidget& d, const char* name) { child<QPushButton>(d, name).click(); }

TEST(DocumentationDialogs, ChangeDialogShowsTheRecordAndGivesBackWhatWasTyped) {
    QtDocumentationDialogs dialogs(nullptr);
    // "Welle gekürzt" in CP850 (ü = 0x81); the description has a CR line break.
    const ChangeForm form{"Welle gek\x81rzt", "01.02.2026", "MK", "Zeile 1\rZeile 2"};
    QString caption, shownId, shownDescription;
    ModalScript script({[&](QWidget& d) {
        caption = d.windowTitle();
        shownId = child<QLineEdit>(d, "Edit_aenderung").text();
        shownDescription = child<QPlainTextEdit>(d, "Memo_beschreibung").toPlainText();
        EXPECT_EQ(child<QLabel>(d, "Label_aenderung").text(), QStringLiteral("Änderungstext"));
        EXPECT_EQ(child<QPushButton>(d, "Button_datum").text(), QStringLiteral("<08.12.2026"));
        test::keepShot(d, QStringLiteral("Form_EinAend"));
        click(d, "Button_datum");
        auto& editor = child<QLineEdit>(d, "Edit_bearbeiter");
        editor.clear();
        test::typeText(&editor, QStringLiteral("Jürgen"));  // five characters fit
        child<QPlainTextEdit>(d, "Memo_beschreibung").setPlainText(QStringLiteral("neu\nzweite"));
        click(d, "Button_ok");
    }});
    const auto result = dialogs.editChange(3, form, "08.12.2026");
    ASSERT_TRUE(result);
    EXPECT_EQ(caption, QStringLiteral("3 Änderung"));
    EXPECT_EQ(shownId, QStringLiteral("Welle gekürzt"));
    EXPECT_EQ(shownDescription, QStringLiteral("Zeile 1\nZeile 2"));
    EXPECT_EQ(result->changeId, "Welle gek\x81rzt");
    EXPECT_EQ(result->changeDate, "08.12.2026");
    EXPECT_EQ(result->changeEditor, "J\x81rge");
    EXPECT_EQ(result->changeDescription, "neu\rzweite");

    ModalScript cancel({[](QWidget& d) { click(d, "Button_cancel"); }});
    EXPECT_FALSE(dialogs.editChange(1, form, "08.12.2026"));
}

TEST(DocumentationDialogs, DrawingInfoFillsBothGridsAndTheTodayButtonsDateTheirRow) {
    QtDocumentationDialogs dialogs(nullptr);
    DrawingInfoForm form;
    form.replaces = "Z-100";
    form.dates = {"01.01.2026", "", "", ""};
    form.names = {"Maier", "M\x81ller", "", ""};
    form.rows[0] = {"10", "20", "3.5", "0", "Gr\x94\xe1" "e"};  // "Größe"
    QStringList rowLabels;
    QString shownName, shownText;
    ModalScript script({[&](QWidget& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Zeichnungsinfo"));
        auto& block = child<QTableWidget>(d, "StringGrid1");
        for (int r = 0; r < block.rowCount(); ++r) rowLabels << block.verticalHeaderItem(r)->text();
        shownName = block.item(1, 1)->text();
        auto& texts = child<QTableWidget>(d, "StringGrid2");
        shownText = texts.item(0, 4)->text();
        test::keepShot(d, QStringLiteral("Form_zeichInfo"));
        click(d, "Button3");  // dates the "Norm" row
        texts.item(1, 4)->setText(QStringLiteral("zweiter Text"));
        texts.item(1, 0)->setText(QStringLiteral("5,5"));
        child<QLineEdit>(d, "Edit_ersetztdurch").setText(QStringLiteral("Z-200"));
        click(d, "Button_ok");
    }});
    const auto result = dialogs.editDrawingInfo(form, "Freigabe", "08.12.2026");
    ASSERT_TRUE(result);
    EXPECT_EQ(rowLabels, (QStringList{QStringLiteral("Bearb."), QStringLiteral("Gepr."), QStringLiteral("Norm"),
                                      QStringLiteral("Freigabe")}));
    EXPECT_EQ(shownName, QStringLiteral("Müller"));
    EXPECT_EQ(shownText, QStringLiteral("Größe"));
    EXPECT_EQ(result->replaces, "Z-100");
    EXPECT_EQ(result->replacedBy, "Z-200");
    EXPECT_EQ(result->dates, (std::array<std::string, 4>{"01.01.2026", "", "08.12.2026", ""}));
    EXPECT_EQ(result->names[1], "M\x81ller");
    EXPECT_EQ(result->rows[0].text, "Gr\x94\xe1" "e");
    EXPECT_EQ(result->rows[1].x, "5,5");
    EXPECT_EQ(result->rows[1].text, "zweiter Text");

    ModalScript cancel({[](QWidget& d) { QTest::keyClick(&d, Qt::Key_Escape); }});
    EXPECT_FALSE(dialogs.editDrawingInfo(form, "", "08.12.2026"));
}

TEST(DocumentationDialogs, DocumentSetupPicksFilesThroughThePrompter) {
    ScriptedPrompter prompter([](const std::string& failure) { ADD_FAILURE() << failure; });
    prompter.openFile("/home/user/Zeichnungen/welle.pdf");
    QtDocumentationDialogs dialogs(nullptr, &prompter);
    std::array<DocumentSlotForm, kDocumentSlots> forms;
    for (auto& f : forms) f.programPath = "xdg-open";
    forms[4].documentPath = "/tmp/alt.txt";
    int boxes = 0;
    ModalScript script({[&](QWidget& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Document Setup"));
        boxes = static_cast<int>(d.findChildren<QGroupBox*>().size());
        EXPECT_EQ(child<QGroupBox>(d, "GroupBox5").title(), QStringLiteral("Document 5"));
        EXPECT_EQ(child<QLineEdit>(d, "Edit_file5").text(), QStringLiteral("/tmp/alt.txt"));
        test::keepShot(d, QStringLiteral("Form_confDoku"));
        click(d, "Button_file2");
        child<QLineEdit>(d, "Edit_prog3").setText(QStringLiteral("okular"));
        click(d, "Button_ok");
    }});
    const auto result = dialogs.editDocumentSlots(forms);
    ASSERT_TRUE(result);
    EXPECT_EQ(boxes, kDocumentSlots);
    EXPECT_EQ((*result)[1].documentPath, "/home/user/Zeichnungen/welle.pdf");
    EXPECT_EQ((*result)[2].programPath, "okular");
    EXPECT_EQ((*result)[4].documentPath, "/tmp/alt.txt");
    ASSERT_EQ(prompter.log().size(), 1u);
    EXPECT_EQ(prompter.log()[0].rfind("open: File 2", 0), 0u) << prompter.log()[0];
}

} // namespace
} // namespace zam1
