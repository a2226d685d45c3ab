// The import's side of the check by a real reader (check_xlsx_import.py):
//   xlsx_import_probe write FOLDER  writes a workbook in the shape LibreOffice saves
//                                   (inline strings, no references, a boolean, a formula)
//   xlsx_import_probe read FILE     imports FILE and prints one line per element, or the problem
#include <cstdio>
#include <memory>
#include <string>

#include "core/exchange/element_import.h"
#include "core/exchange/exchange_texts.h"
#include "core/exchange/sheet.h"
#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/platform/file_io.h"
#include "tests/exchange/workbook_builder.h"

int main(int argc, char** argv) {
    using namespace zam1;
    if (argc != 3) return 2;
    const std::string mode = argv[1];
    const ExchangeTexts& words = exchangeTexts(kGerman);
    if (mode == "write") {
        const std::string sheet = test::worksheetXml(
            test::inlineRow("", {"El.Nr.", "Vorg.el.", "+/-", "Nennma\xC3\x9F", "ob.Tol.", "unt.Tol.", "ISO-Tol.", "Text", "Info"}) +
            "<row><c><v>1</v></c><c><v>0</v></c><c t=\"b\"><v>1</v></c><c><v>25.5</v></c><c><v>2.1E-2</v></c><c><v>0</v></c>"
            "<c t=\"inlineStr\"><is><t>H 7</t></is></c><c t=\"str\"><f>\"Wel\"&amp;\"le\"</f><v>Welle</v></c></row>"
            "<row><c><v>2</v></c><c><v>1</v></c><c t=\"b\"><v>0</v></c><c><v>10</v></c><c/><c><v>-0.1</v></c><c/>"
            "<c t=\"inlineStr\"><is><t>Nabe</t></is></c><c><v>4711</v></c></row>");
        const std::string bytes = test::zipOf(test::workbookParts(sheet));
        return !bytes.empty() && writeFileSafely(std::string(argv[2]) + "/inline.xlsx", bytes) == kIoOk ? 0 : 1;
    }
    std::string bytes;
    if (mode != "read" || readWholeFile(argv[2], bytes) != kIoOk) return 2;
    const ElementImport imported = readElementTable(bytes, argv[2], words);
    if (imported.problem) {
        std::printf("problem: %s\n", importProblemText(*imported.problem, {}, words).c_str());
        return 0;
    }
    const auto empty = std::make_unique<Chain>();
    for (const ElementChange& change : compareElements(*empty, imported.elements).changes) {
        std::printf("%s\n", change.after.c_str());
    }
    return 0;
}
