#pragma once
// The rows of "zam1.cfg" as one table, in file order. For every value: its row,
// the label line above it, what kind of value it is, where it lives in the
// Configuration, its default, the values the reader accepts and what it takes
// instead, whether the file may end after it, and where and how the settings
// dialog shows it. The reader, the writer, the defaults and the dialog's fields
// are all made from it (config_reader.cpp, config_writer.cpp, config_rows.cpp,
// gui/editors/settings_fields.cpp); the rows themselves are in config_rows.cpp.
//
// A row of the file is a label line and its value line, as the file's first
// readers counted them; some rows hold more than one value (a layer's name and
// colour, the six line thicknesses under one label, the four numbers of the text
// window in one line), and the rows at the end have no label lines. A value is
// one entry of the table; the entries of one row share its number.

#include <climits>
#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>

#include "core/config/configuration.h"

namespace zam1 {

// What the value lines of an entry hold and how they are written and read.
enum class RowKind : unsigned char {
    Integer,
    Real,               // fixed point, the configured decimals + 4 places
    ShortReal,          // about three significant digits
    Boolean,            // "TRUE" or "FALSE"; anything but "TRUE" (in any case) reads false
    BooleanUnlessFalse, // as Boolean, but anything but "FALSE" reads true
    Letter,             // one character; an empty line reads 'N'
    Text,               // text of the code page, kept as the file has it
    FileName,           // a file-system name: UTF-8 in memory, the code page in the file
    Reserve,            // an option this program does not have: "FALSE" written, the line read past
    PlotCount,          // n, the plot command lines in use; lines 2 .. n follow without labels
    PlotLine,           // plot command line `part` (2 .. 5): there when n reaches it
    WindowPart,         // number `part` (0 .. 3) of the one line "left|top|width|height|"; the
                        // four are taken only together and only when width and height are not 0
};

inline constexpr int kTextWindowParts = 4;

// What the reader takes for a value outside `valid`.
enum class Fallback : unsigned char {
    None,                  // every value read is taken as it is
    Replace,               // `replacement`; for a text: an empty line reads as `replacement`
    ReplaceWithPrintScale, // `replacement`, and the vertical print scale is reset to it as well
    ScreendumpScale,       // the screendump scale read before
    Clamp,                 // the nearer end of `valid`
    KeepWhenEmpty,         // an empty line leaves the value as it was (the default)
    StartDirectory,        // as KeepWhenEmpty; still empty after reading: the start directory
    ScreenWidth,           // 0 and -1 stand for the screen width less `replacement`, also in the defaults
    ScreenHeight,          // 0 and -1 stand for the screen height less `replacement`, also in the defaults
};

// What a value holds when the file ends before its row. Files that end at row 36
// or before are of the age that knew one text width and style for CAD and screen.
enum class WhenMissing : unsigned char {
    Keep,               // what it held: the default
    Initial,            // its default, also when it held something else
    CadTextWidthFactor, // the CAD text width factor read
};

// The values a reader takes as they are: lo <= value <= hi, and not 0 when
// `nonZero`. Integers are compared exactly.
struct ValidRange {
    long double lo = -std::numeric_limits<long double>::infinity();
    long double hi = std::numeric_limits<long double>::infinity();
    bool nonZero = false;

    constexpr bool holds(long double v) const { return v >= lo && v <= hi && !(nonZero && v == 0); }
};

// A default or a replacement: a number (also a flag or a letter) or a text.
struct RowValue {
    long double number = 0;
    const char* text = nullptr;

    constexpr RowValue() = default;
    constexpr RowValue(int v) : number(v) {}                             // NOLINT(implicit)
    constexpr RowValue(long double v) : number(v) {}                     // NOLINT(implicit)
    constexpr RowValue(bool v) : number(v ? 1 : 0) {}                    // NOLINT(implicit)
    constexpr RowValue(char v) : number(static_cast<unsigned char>(v)) {} // NOLINT(implicit)
    constexpr RowValue(const char* v) : text(v) {}                       // NOLINT(implicit)
};

// Where an entry's value lives: one accessor of the value's type (a captureless
// lambda turned into a function pointer), none for a reserve row.
struct RowMember {
    int& (*integer)(Configuration&) = nullptr;
    long double& (*real)(Configuration&) = nullptr;
    bool& (*flag)(Configuration&) = nullptr;
    char& (*letter)(Configuration&) = nullptr;
    std::string& (*string)(Configuration&) = nullptr;
    ShortString<32>& (*text32)(Configuration&) = nullptr;
    ShortString<60>& (*text60)(Configuration&) = nullptr;

    constexpr RowMember() = default;
    constexpr RowMember(int& (*at)(Configuration&)) : integer(at) {}                // NOLINT(implicit)
    constexpr RowMember(long double& (*at)(Configuration&)) : real(at) {}           // NOLINT(implicit)
    constexpr RowMember(bool& (*at)(Configuration&)) : flag(at) {}                  // NOLINT(implicit)
    constexpr RowMember(char& (*at)(Configuration&)) : letter(at) {}                // NOLINT(implicit)
    constexpr RowMember(std::string& (*at)(Configuration&)) : string(at) {}         // NOLINT(implicit)
    constexpr RowMember(ShortString<32>& (*at)(Configuration&)) : text32(at) {}     // NOLINT(implicit)
    constexpr RowMember(ShortString<60>& (*at)(Configuration&)) : text60(at) {}     // NOLINT(implicit)

    constexpr bool any() const { return integer || real || flag || letter || string || text32 || text60; }
    constexpr bool isText() const { return string || text32 || text60; }

    // A text value (code page or file-system name) and its capacity (0: none).
    std::string_view text(const Configuration& c) const;
    void setText(Configuration& c, std::string_view value) const;
    std::size_t capacity() const;
    // A number value: an integer, a real, a flag (0, 1) or a letter.
    long double number(const Configuration& c) const;
    void setNumber(Configuration& c, long double value) const;
    void set(Configuration& c, const RowValue& value) const;
};

// The settings dialog: tabs, and groups of fields within them.
enum class SettingsTab : unsigned char { Folders, Devices, Numbers, Drawing, Colours, Languages };
inline constexpr int kSettingsTabs = 6;
const char* settingsTabTitle(SettingsTab tab);

// The groups in the order the dialog shows them; each belongs to one tab.
enum class SettingsGroup : unsigned char {
    DataFolder, Folders, Programs,                      // Folders
    Reports, Printer, Screendump, Windows, Plotter,     // Devices
    Numbers, ThreeD,                                    // Numbers
    Cad, Screen, Results,                               // Drawing
    ScreenColours, Layers, Thickness, LayerColours, LayerThickness, // Colours
    Language, Help,                                     // Languages
};
inline constexpr int kSettingsGroups = 20;
SettingsTab settingsGroupTab(SettingsGroup group);
const char* settingsGroupTitle(SettingsGroup group);

enum class SettingsEditor : unsigned char {
    None,          // not in the dialog
    Line,          // a line of text; a real number for Real and ShortReal
    Folder,        // a line with a folder picker
    File,          // a line with a program picker
    Spin,          // an integer between `lo` and `hi`
    Combo,         // one of `choices`
    Check,         // a flag; for a letter: 'J' checked, 'N' not
    CheckOpposite, // a flag stored as "hide", offered as "show"
    PaletteColour, // a colour number with its swatch from the palette
    CadColour,     // a colour number with its swatch as CAD colours show
};

struct SettingsChoice {
    int value;
    const char* text; // UTF-8
};

struct SettingsPlace {
    SettingsGroup group = SettingsGroup::DataFolder;
    SettingsEditor editor = SettingsEditor::None;
    const char* label = nullptr; // UTF-8, as the dialog shows it
    const char* key = nullptr;   // the editing widget's object name
    int lo = INT_MIN;            // a spin box's range
    int hi = INT_MAX;
    std::span<const SettingsChoice> choices{};
};

struct ConfigRow {
    int row = 0;                  // 1 .. 107
    const char* label = nullptr;  // UTF-8 label line above the value; none for the rows at the end
    RowKind kind = RowKind::Integer;
    RowMember at{};
    int part = 0;                 // a PlotLine's line number, a WindowPart's place in its line
    RowValue initial{};           // the default of a program without a configuration file
    ValidRange valid{};
    Fallback fallback = Fallback::None;
    RowValue replacement{};
    bool mayEndAfter = false;     // a file may end after this row; it is the last value of its row
    WhenMissing whenMissing = WhenMissing::Keep;
    SettingsPlace dialog{};
};

// Every entry in file order.
std::span<const ConfigRow> configRows();

// The two lines above the rows.
inline constexpr const char* kConfigHeading = "zam1 Konfiguration";
inline constexpr const char* kConfigVersionPrefix = "Version ";

} // namespace zam1
