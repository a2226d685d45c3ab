#pragma once
// What the tests of "zam1.cfg" and of the settings dialog share: a screen and
// start folder to read against, a value for every entry of the settings table
// that differs from the one held, and the settings compared entry by entry.

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/config/config_file.h"
#include "core/config/config_rows.h"

namespace zam1::test {

inline const ScreenInfo kScreen{1280, 1024, 96, 0, 0};
inline const std::string kStart = "/start";

inline Configuration defaults() { return defaultConfiguration(kScreen, kStart); }

// The settings a file's bytes give, read over the defaults.
inline Configuration parsed(const std::string& bytes) {
    Configuration c = defaults();
    parseConfiguration(bytes, c, kScreen, kStart);
    return c;
}

// A value of `row` other than the one `c` holds, that the reader takes as it is
// and the dialog can show; `n` tells texts of different rows apart.
inline void setDistinct(const ConfigRow& row, Configuration& c, int n) {
    const RowMember& at = row.at;
    if (at.isText()) {
        const std::string text = row.kind == RowKind::FileName || row.kind == RowKind::PlotLine ? "/r\xC3\xB6w/" + std::to_string(n)  // UTF-8 "ö"
                                                               : "T\x81" + std::to_string(n);         // CP850 "ü"
        at.setText(c, text);
        return;
    }
    const long double now = at.number(c);
    switch (row.kind) {
    case RowKind::Boolean:
    case RowKind::BooleanUnlessFalse: at.setNumber(c, now == 0 ? 1 : 0); return;
    case RowKind::Letter: at.setNumber(c, now == 'J' ? 'N' : 'J'); return;
    case RowKind::Real:
    case RowKind::ShortReal: at.setNumber(c, now == 2.5L ? 3.25L : 2.5L); return;
    case RowKind::PlotCount: at.setNumber(c, now == row.dialog.hi ? row.dialog.hi - 1 : row.dialog.hi); return;
    default: break;
    }
    for (const SettingsChoice& choice : row.dialog.choices) {
        if (choice.value != now) {
            at.setNumber(c, choice.value);
            return;
        }
    }
    const bool colour = row.dialog.editor == SettingsEditor::PaletteColour || row.dialog.editor == SettingsEditor::CadColour;
    const bool screen = row.fallback == Fallback::ScreenWidth || row.fallback == Fallback::ScreenHeight;
    for (const long double v : {now + 1, now - 1, now + 2, now - 2}) {
        if (!row.valid.holds(v) || v < row.dialog.lo || v > row.dialog.hi) continue;
        if (colour && (v < 0 || v > 255)) continue;
        if (screen && (v == 0 || v == -1)) continue;
        at.setNumber(c, v);
        return;
    }
}

// The value of an entry as text, a real to its last bit.
inline std::string valueText(const ConfigRow& row, const Configuration& c) {
    if (row.at.isText()) return '"' + std::string(row.at.text(c)) + '"';
    if (row.at.real) {
        char text[64];
        std::snprintf(text, sizeof text, "%La", row.at.number(c));
        return text;
    }
    return std::to_string(static_cast<long long>(row.at.number(c)));
}

// A name for an entry in messages: its dialog key, else its row and label.
inline std::string rowName(const ConfigRow& row) {
    if (row.dialog.key != nullptr) return row.dialog.key;
    return "row " + std::to_string(row.row) + (row.label != nullptr ? std::string(" ") + row.label : std::string());
}

// "name: a -> b" for every entry in which two settings differ.
inline std::vector<std::string> differences(const Configuration& a, const Configuration& b) {
    std::vector<std::string> out;
    for (const ConfigRow& row : configRows()) {
        if (!row.at.any()) continue;
        const std::string x = valueText(row, a);
        const std::string y = valueText(row, b);
        if (x != y) out.push_back(rowName(row) + ": " + x + " -> " + y);
    }
    return out;
}

// Every entry set to its distinct value (all plot command lines in use).
inline Configuration distinctConfiguration(Configuration c) {
    int n = 0;
    for (const ConfigRow& row : configRows()) {
        if (row.at.any()) setDistinct(row, c, ++n);
    }
    return c;
}

} // namespace zam1::test
