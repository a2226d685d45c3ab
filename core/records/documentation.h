#pragma once
// The documentation a project carries besides its chain: the project texts of the
// title lines, the change records, the drawing information of the title block and
// the five document slots. All of it travels in the project file unchanged.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/text/short_string.h"

namespace zam1 {

struct DateTime;

inline constexpr int kMaxChanges = 25;
inline constexpr int kMaxTextRows = 8;
inline constexpr int kDocumentSlots = 5;

// The title lines of a project: three remark lines, drawing name, number and name 2.
struct ProjectTexts {
    std::array<ShortString<65>, 3> remarkLines;
    ShortString<25> drawingName;
    ShortString<30> drawingName2;
    ShortString<18> drawingNumber;
};

struct ChangeRecord {
    ShortString<20> changeId;           // "Änderungstext"
    ShortString<10> changeDate;
    ShortString<5> changeEditor;        // "Bearbeiter"
    ShortString<255> changeDescription; // "Beschreibung"; may hold CR line breaks
};

// A free text placed on the drawing.
struct DrawingTextRow {
    long double x = 0;
    long double y = 0;
    long double h = 0;   // text height
    long double phi = 0; // angle in degrees
    ShortString<80> text;
};

struct DrawingInfo {
    ShortString<10> drawnDate;     // row "Bearb."
    ShortString<10> drawnName;
    ShortString<10> checkedDate;   // row "Gepr."
    ShortString<10> checkedName;
    ShortString<10> standardsDate; // row "Norm"
    ShortString<10> standardsName;
    ShortString<10> approvalDate;  // fourth row, labelled by the configured approval text
    ShortString<10> approvalName;
    ShortString<15> replaces;      // "Ersatz für"
    ShortString<15> replacedBy;    // "Ersetzt durch"
    std::array<DrawingTextRow, kMaxTextRows> textRows{};
    int textRowCount = 0;          // 0..8
};

struct DocumentSlot {
    ShortString<50> programPath;
    ShortString<50> documentPath;
};

struct Documentation {
    // Records beyond changeCount keep their texts: a deleted record shows again
    // when a new one is appended at its place.
    std::array<ChangeRecord, kMaxChanges> changes{};
    int changeCount = 0;
    DrawingInfo drawing;
    std::array<DocumentSlot, kDocumentSlots> documents{};
};

// The program a document slot starts when nothing else was set up.
inline constexpr const char* kDefaultDocumentProgram = "xdg-open";

// Today's date as the configured date code writes it: 1 "DD.MM.YYYY",
// 2 "MM/DD/YYYY", 3 "YYYY/MM/DD", 4 "DD/MM/YYYY"; any other code as 1.
std::string dateText(const DateTime& date, int dateCode);

// The documentation at program start: no change records (all empty), drawn,
// checked and standards-check dates set to `today`, everything else empty, no text
// rows, every slot's program the default program with an empty document.
void startDocumentation(Documentation& docs, std::string_view today);

// What New does: no change records, no replacement drawings, the drawn date today
// and every other title-block entry empty. Text rows and document slots stay.
void resetDocumentation(Documentation& docs, std::string_view today);

} // namespace zam1
