// The Help menu: the help picture, the calculation's messages, the language of
// the menus and texts, the program's history, the about box, the manual and a
// mail to the maintainers.
#include "core/app/menu_rows.h"
#include "core/app/workbench.h"
#include "core/platform/desktop.h"
#include "core/platform/prompter.h"
#include "core/session/program_identity.h"
#include "core/text/codepage.h"

namespace zam1 {
namespace {

template <int Index>
bool chooseLanguage(MenuContext& c) {
    c.state.error.clear();
    setLanguage(c.state.texts, Index, c.state.config.language);
    return false;
}

template <int Index>
std::string fixedCaption(const MenuContext&) {
    switch (Index) {
    case 1: return "&Deutsch";
    case 2: return "&English";
    case 3: return "&Francais";
    default: return "&Korea";
    }
}

bool showHelpPicture(MenuContext& c) {
    c.state.error.clear();
    // The menu's caption names the window, without its Alt letter.
    c.bench.showTextScreen(withoutAltLetter(commonMenuToUtf8(c.state.texts, c.state.texts.menu.helpPicture)),
                           {"Es sind keine Hilfebilder installiert.", "No help pictures are installed."});
    return false;
}

bool showHistory(MenuContext& c) {
    c.state.error.clear();
    c.bench.showTextScreen(std::string(kProgramTitle) + " - History", {
        std::string(kProgramTitle) + "  " + std::string(kProgramVersion),
        "",
        "11.1 (Linux)",
        "  - Window program for Linux desktops (Qt), same project files, reports and CAD files",
        "  - Undo and Redo over whole commands; working copy restored after a crash",
        "  - Closing dimensions that cannot be calculated are named in every report",
        "  - Required limits, reject ppm, Cp/Cpk and Monte Carlo simulation (name.zm1.json)",
        "  - DXF files name their code page; IGES texts with commas read back whole",
        "  - Command line: wzam1 project.zm1 /I, /CADi:j, --analyse, --iso",
        "",
        "Earlier versions: worst-case and statistical tolerance chains with ISO 286",
        "tolerances, general tolerances, probability tables, diagrams, project drawing.",
    });
    return false;
}

bool showAbout(MenuContext& c) {
    c.state.error.clear();
    c.bench.showTextScreen(std::string(kProgramTitle), {
        std::string(kProgramTitle),
        "Version " + std::string(kProgramVersion) + " (build " ZAM1_VERSION ")",
        "",
        "Maßketten: Worst Case, statistische Methode (Sigma), Wahrscheinlichkeiten,",
        "ISO 286 Toleranzen, Freimaßtoleranzen, Berichte, Grafiken, DXF/IGES/TXT.",
        "",
        "Dimension chains: worst case, statistical method, probability tables,",
        "ISO 286 tolerances, general tolerances, reports, diagrams, DXF/IGES/TXT.",
        "",
        "Licence: free to use, copy and change for any purpose; no warranty.",
        "Engineers remain responsible for the release of their parts.",
    });
    return false;
}

// The manual's contents in the help window.
bool showManual(MenuContext& c) {
    c.state.error.clear();
    c.bench.showHelp(0);
    return false;
}

bool writeMail(MenuContext& c) {
    c.state.error.clear();
    const std::string subject = std::string(kProgramTitle) + " " + std::string(kProgramVersion);
    if (!c.state.desktop->openInBrowser("mailto:?subject=" + subject)) {
        c.state.error.set();
    }
    return false;
}

} // namespace

MenuSection helpMenu() {
    using T = CommonMenuTexts;
    const auto language = [](const MenuContext& c) { return commonCaption<&T::language>(c); };
    return {"mi_help", commonCaption<&T::helpMenu>, {
        {.objectName = "mi_HelpHilfebild", .caption = commonCaption<&T::helpPicture>, .run = showHelpPicture},
        {.objectName = "mi_helpErrorMessages", .caption = commonCaption<&T::errorMessages>, .run = showErrorMessages},
        separator(),
        {.row = MenuRow::SubmenuStart, .objectName = "mi_helplanguage", .caption = language},
        {.objectName = "mi_helplanguagedeutsch", .caption = fixedCaption<1>, .run = chooseLanguage<1>},
        {.objectName = "mi_helplanguageenglisch", .caption = fixedCaption<2>, .run = chooseLanguage<2>},
        {.objectName = "mi_helplanguagefrench", .caption = fixedCaption<3>, .run = chooseLanguage<3>},
        {.objectName = "mi_helplanguageKoreaKorea", .caption = fixedCaption<8>, .run = chooseLanguage<8>},
        {.row = MenuRow::SubmenuEnd},
        separator(),
        {.objectName = "mi_helpmanual", .caption = commonCaption<&T::homepage>, .shortcut = "F1", .run = showManual},
        {.objectName = "mi_helpmail", .caption = commonCaption<&T::mail>, .run = writeMail},
        {.objectName = "mi_helphistory", .caption = commonCaption<&T::history>, .run = showHistory},
        {.objectName = "mi_HelpAbout", .caption = commonCaption<&T::about>, .run = showAbout},
    }};
}

} // namespace zam1
