// Writes one project as .xlsx and as CSV into the folder given, for real
// spreadsheet readers to compare cell by cell: openpyxl (check_xlsx.py), pandas
// and LibreOffice (check_csv.py). The CSV comes twice: with the decimal point,
// and in "komma/" with the decimal-comma setting.
#include <clocale>
#include <cstdio>
#include <string>
#include <sys/stat.h>

#include "core/app/spreadsheet_commands.h"
#include "core/platform/desktop.h"
#include "core/platform/scripted_prompter.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "tests/files/sample_project.h"

int main(int argc, char** argv) {
    using namespace zam1;
    if (argc != 2) return 2;
    // The window program runs under the user's locale; a German one must not put commas into
    // the files: the decimal-comma setting alone does.
    std::setlocale(LC_ALL, "");
    const std::string folder = argv[1];
    ScriptedPrompter prompter([](const std::string& why) { std::fprintf(stderr, "prompter: %s\n", why.c_str()); });
    HeadlessDesktop desktop;
    ProgramState state;
    state.prompter = &prompter;
    state.desktop = &desktop;
    test::SampleProject p = test::sampleProject(12, 4, 0, 0);
    state.chain = *p.chain;
    state.chain.decimals = 4;  // the sheets show the project's decimals
    state.chain.closing(1) = {0, 5, "Spalt \x84\x94\x81", "Bemerkung"};
    state.chain.closing(2) = {1, 2501, "Fehler", ""};  // cannot be resolved: named, no numbers
    state.chain.element(3).text = utf8ToOem("Gehäuse µ ± Ø; \"innen\"");
    state.chain.element(5).remark = "=1+1";  // a formula a spreadsheet must not compute
    prompter.saveFile(folder + "/project.xlsx").saveFile(folder + "/project.csv");
    prompter.saveFile(folder + "/elements.xlsx");
    bool ok = exportSpreadsheet(state) && exportSpreadsheet(state) && exportElementTableSpreadsheet(state);
    state.config.decimalSeparator = 2;
    prompter.saveFile(folder + "/komma/project.csv");
    ok = ok && ::mkdir((folder + "/komma").c_str(), 0755) == 0 && exportSpreadsheet(state);
    prompter.finish();
    return ok ? 0 : 1;
}
