#pragma once
// The rules of the documentation dialogs, apart from the dialogs: appending,
// changing and removing the last change record, storing what the drawing
// information and document set-up dialogs hold, and the command line a document
// slot starts.

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/records/documentation.h"

namespace zam1 {

// What the change dialog shows and gives back (stored code page).
struct ChangeForm {
    std::string changeId;
    std::string changeDate;
    std::string changeEditor;
    std::string changeDescription;
};

ChangeForm changeFormOf(const ChangeRecord& record);
// Stores the four fields, each cut to its capacity.
void storeChangeForm(ChangeRecord& record, const ChangeForm& form);

// Appends a record dated today (it keeps the texts a deleted record left at
// its place) and returns its number; 0 when all 25 are in use.
int appendChange(Documentation& docs, std::string_view today);
// Takes back the record just appended, as if the new change was never begun.
void dropLastChange(Documentation& docs);
// Removes the last record; false when there is none.
bool removeLastChange(Documentation& docs);

// One row of the drawing information's text table as typed.
struct TextRowForm {
    std::string x, y, h, phi;  // a text that is not a number gives 0
    std::string text;
};

struct DrawingInfoForm {
    std::string replaces;
    std::string replacedBy;
    std::array<std::string, 4> dates;  // rows "Bearb.", "Gepr.", "Norm" and the approval row
    std::array<std::string, 4> names;
    std::array<TextRowForm, kMaxTextRows> rows;
};

DrawingInfoForm drawingInfoFormOf(const DrawingInfo& info);
// Stores the form. The text rows are kept up to the last one with a text, empty
// rows between them included, so that a text is never lost because a row above
// it was cleared; row 1 is always kept.
void storeDrawingInfoForm(DrawingInfo& info, const DrawingInfoForm& form);

struct DocumentSlotForm {
    std::string programPath;
    std::string documentPath;
};
std::array<DocumentSlotForm, kDocumentSlots> documentSlotFormsOf(const Documentation& docs);
void storeDocumentSlotForms(Documentation& docs, const std::array<DocumentSlotForm, kDocumentSlots>& forms);

// The program and its arguments for slot k (1..5), file-system text: the program
// path with the document as its one argument (none when empty). Never a shell
// command line, so blanks and quotes in names are harmless.
struct DocumentLaunch {
    std::string program;
    std::vector<std::string> arguments;
};
DocumentLaunch documentLaunch(const Documentation& docs, int slot);

} // namespace zam1
