#pragma once
// The settings dialog in the program's languages: the dialog's labels, group and
// tab titles and choice texts of the configuration rows are held in German in
// the table of rows (config_rows.h); here they find their English and French
// words. A label that ends in a number ("Farbe Layer 17") is looked up without
// it and keeps its number.

#include <string>
#include <string_view>

namespace zam1 {

// The words of the settings dialog itself (caption and its own buttons).
struct SettingsDialogWords {
    const char* caption;
    const char* save;
    const char* import;
};

// `german` in language `language` (the language index of the configuration);
// German, the built-in language and the languages without a table of these
// words show the German text. UTF-8 in and out.
std::string settingsText(std::string_view german, int language);

// Whether `german` has its English and French words (the table misses none).
bool settingsTextKnown(std::string_view german);

SettingsDialogWords settingsDialogWords(int language);

} // namespace zam1
