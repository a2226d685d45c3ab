#pragma once
// The closing-dimension editor as a loop of two modal dialogs: the list, whose
// closing button says what to do next, and the record of one closing dimension.
// The loop and its rules live here; the dialogs are a port, so the loop runs and
// is tested without a window.

#include <string>
#include <vector>

namespace zam1 {

class Chain;
class ErrorFlag;
class Prompter;
struct ClosingDimension;
struct LanguageTexts;

inline constexpr int kClosingListWidth = 65;
// The element-number fields of the record dialog: four digits reach element 2500.
inline constexpr int kElementNumberDigits = 4;

// Help numbers of the list, the insert question, the delete question and the record dialog.
inline constexpr int kHelpClosingList = 5400;
inline constexpr int kHelpClosingInsert = 5410;
inline constexpr int kHelpClosingDelete = 5450;
inline constexpr int kHelpClosingRecord = 9020;

// The code of the button that closed the list dialog.
enum class ClosingListAction {
    Ok = 0,
    New = 1,
    Insert = 2,
    Delete = 3,
    Extra156 = 6,
    Extra157 = 7,
    Extra158 = 8,
    Change = 9,
    DoubleClick = 10,
};

// "k: from -> to : text  remark", cut to 65 characters, in the stored code page.
std::string closingListText(const Chain& chain, int k);
std::vector<std::string> closingListTexts(const Chain& chain);

// The four fields of the record dialog as they are typed: element numbers as
// text, the texts in the stored code page.
struct ClosingRecordInput {
    std::string fromElement;
    std::string toElement;
    std::string text;
    std::string remark;
};

ClosingRecordInput closingRecordInput(const ClosingDimension& closing);
// An element number that is not an integer (or does not fit) becomes 0; the texts
// are cut to their capacities.
void applyClosingRecordInput(ClosingDimension& closing, const ClosingRecordInput& input);

class ClosingEditorView {
public:
    struct ListAnswer {
        bool cancelled = false;
        ClosingListAction action = ClosingListAction::Ok;
        int chosenLine = 0;  // 1-based, 0: none
    };

    virtual ~ClosingEditorView() = default;
    // The list dialog over `lines` with `chosenLine` selected (0: none).
    virtual ListAnswer showList(const std::vector<std::string>& lines, int chosenLine) = 0;
    // The record dialog of closing dimension `k`; false when cancelled.
    virtual bool editRecord(int k, ClosingRecordInput& input) = 0;
    // The help number that the next dialog or prompt shows on its help button.
    virtual void setHelpContext(int helpContext) { (void)helpContext; }
};

struct ClosingEditorOutcome {
    bool changed = false;  // a record was written, added, inserted or deleted
};

// Runs the editor on the chain. On return the error flag is set when the user
// left with Cancel or a limit was hit, and clear when he left with OK. Every
// change is written to the chain at once; Cancel undoes nothing.
ClosingEditorOutcome runClosingEditor(Chain& chain, const LanguageTexts& texts, Prompter& prompter, ErrorFlag& error,
                                      ClosingEditorView& view);

} // namespace zam1
