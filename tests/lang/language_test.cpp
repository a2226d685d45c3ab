#include <gtest/gtest.h>

#include <set>

#include "core/lang/language.h"
#include "core/lang/text_table.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

// Runs `check` on every table together with its member in LanguageTexts.
template <typename Check>
void forEachTable(Check check) {
    check("common menu", commonMenuTable(), &LanguageTexts::menu);
    check("view menu", viewMenuTable(), &LanguageTexts::viewMenu);
    check("main", mainTextTable(), &LanguageTexts::main);
    check("report", reportTextTable(), &LanguageTexts::report);
    check("closing editor", closingEditorTable(), &LanguageTexts::closingEditor);
    check("general tolerance", generalToleranceTable(), &LanguageTexts::tolerance);
    check("messages", messageTable(), &LanguageTexts::messages);
}

// What a field should hold after loading `index` into the table.
template <typename Table>
std::string stored(const TextTable<Table>& table, const TextRow<Table>& row, int index) {
    const std::string utf8 = row.text[static_cast<std::size_t>(index - 1)];
    if (!table.windowsCodePage) return utf8ToOem(utf8);
    return index == kKorean ? std::string() : utf8ToAnsi(utf8);
}

TEST(LanguageTables, EveryFieldHasARowAndEveryDeclaredLanguageATextThatFitsItsCodePage) {
    forEachTable([](const char* name, const auto& table, auto member) {
        using Table = std::remove_cvref_t<decltype(LanguageTexts{}.*member)>;
        static_assert(sizeof(Table) % sizeof(std::string) == 0);
        EXPECT_EQ(table.rows.size(), sizeof(Table) / sizeof(std::string)) << name << ": a field without a row";
        Table probe;
        std::set<const std::string*> fields;
        for (const auto& row : table.rows) {
            EXPECT_TRUE(fields.insert(&(probe.*row.field)).second) << name << ": field twice";
        }
        for (int index = 1; index <= kLanguageCount; ++index) {
            for (const auto& row : table.rows) {
                const char* text = row.text[static_cast<std::size_t>(index - 1)];
                if (!table.has(index)) {
                    EXPECT_EQ(text, nullptr) << name << ": text in undeclared language " << index;
                    continue;
                }
                ASSERT_NE(text, nullptr) << name << ", language " << index;
                EXPECT_NE(std::string(text), "") << name << ", language " << index;
                // A character the code page lacks would show as a stand-in.
                if (!table.windowsCodePage) {
                    EXPECT_EQ(oemToUtf8(utf8ToOem(text)), text) << name << ", language " << index;
                } else if (index != kKorean) {
                    EXPECT_EQ(ansiToUtf8(utf8ToAnsi(text)), text) << name << ", language " << index;
                }
            }
        }
    });
}

TEST(LanguageTables, StartGermanAndSwitchBack) {
    LanguageTexts t;
    const auto isLanguage = [&](int index, bool expected) {
        forEachTable([&](const char* name, const auto& table, auto member) {
            if (!table.has(index)) return;
            using Table = std::remove_cvref_t<decltype(t.*member)>;
            for (const auto& row : table.rows) {
                const std::string& value = (t.*member).*row.field;
                if constexpr (std::is_same_v<Table, CommonMenuTexts>) {
                    if (row.field == &CommonMenuTexts::preview) continue; // "&Preview" after every load
                }
                EXPECT_EQ(value == stored(table, row, index), expected) << name << ": " << value;
            }
        });
    };
    isLanguage(kGerman, true);
    EXPECT_EQ(t.menu.preview, "&Vorschau");
    EXPECT_EQ(t.main.dimensionElements, "Ma\xE1" "elemente") << "OEM bytes";
    EXPECT_EQ(t.menu.menu, "Men\xFC") << "Windows bytes";

    loadLanguage(t, kEnglish);
    EXPECT_EQ(t.main.notZamFormat, "is not ZAM format");
    EXPECT_EQ(t.messages.loaded, "loaded.");
    EXPECT_EQ(t.menu.preview, "&Preview");
    loadLanguage(t, kGerman);
    isLanguage(kGerman, true);
    EXPECT_EQ(t.menu.preview, "&Preview") << "set after every load";
}

TEST(LanguageTables, TablesWithoutTheLanguageKeepTheirTexts) {
    LanguageTexts t;
    loadLanguage(t, kFrench);
    loadLanguage(t, kKorean);
    EXPECT_EQ(commonMenuToUtf8(t, t.menu.fileMenu), "파일(&F)");
    EXPECT_EQ(viewMenuToUtf8(t, t.viewMenu.scheme), "도식(&S)");
    EXPECT_EQ(t.main.overwrite, "\x82" "craser") << "dialogs stay French";
    EXPECT_EQ(t.report.back, "retour");
    EXPECT_EQ(t.messages.saved, "enregistrer");

    loadLanguage(t, kItalian);
    EXPECT_EQ(t.messages.workingCopyName, "attuale");
    EXPECT_EQ(commonMenuToUtf8(t, t.menu.fileNew), "&Nuovo");
    EXPECT_EQ(viewMenuToUtf8(t, t.viewMenu.scheme), "도식(&S)") << "the view menu has no Italian";
    EXPECT_EQ(t.main.overwrite, "\x82" "craser");

    loadLanguage(t, kRomanian);
    EXPECT_EQ(t.messages.workingCopyName, "attuale") << "no Romanian message texts";
    EXPECT_EQ(commonMenuToUtf8(t, t.menu.exit), "I&esire");

    const LanguageTexts before = t;
    for (int index : {0, -1, 10, 1000}) loadLanguage(t, index);
    EXPECT_EQ(t.main.overwrite, before.main.overwrite);
    EXPECT_EQ(t.menu.exit, before.menu.exit);
}

TEST(LanguageTables, SetLanguageStoresTheIndex) {
    int configured = 0;
    LanguageTexts t;
    setLanguage(t, kEnglish, configured);
    EXPECT_EQ(configured, kEnglish);
    EXPECT_EQ(t.closingEditor.fromElement, "from element");
    setLanguage(t, kGerman, configured);
    EXPECT_EQ(t.closingEditor.fromElement, "von Element");
}

} // namespace
} // namespace zam1
