#pragma once
// The Documentation menu's commands: change records (new, modify, delete, show,
// print), the drawing information, the document set-up and the five documents.
// The dialogs are a port; each gives back what the user left in it on OK, and
// nothing on "Abbrechen". Each command clears the error flag first; a command
// returns true when it changed the project (the window then sets the modified
// flag and writes the working copy).

#include <array>
#include <optional>
#include <string_view>

#include "core/records/documentation_edit.h"

namespace zam1 {

struct ProgramState;

class DocumentationDialogs {
public:
    virtual ~DocumentationDialogs() = default;
    // The change dialog of record `number`; `today` is what its date button puts in.
    virtual std::optional<ChangeForm> editChange(int number, const ChangeForm& form, std::string_view today) = 0;
    // The drawing information; `approvalLabel` names the fourth title-block row.
    virtual std::optional<DrawingInfoForm> editDrawingInfo(const DrawingInfoForm& form, std::string_view approvalLabel,
                                                           std::string_view today) = 0;
    virtual std::optional<std::array<DocumentSlotForm, kDocumentSlots>> editDocumentSlots(
        const std::array<DocumentSlotForm, kDocumentSlots>& forms) = 0;
};

// Appends a change record dated today and edits it, then shows the listing. At
// 25 records "Max. Änderungen = 25 !" and nothing changes. Cancelling the dialog
// takes the new record back.
bool newChange(ProgramState& state, DocumentationDialogs& dialogs);
// Edits the last record, then shows the listing; nothing without records.
bool modifyChange(ProgramState& state, DocumentationDialogs& dialogs);
// Removes the last record (it keeps its texts for a later new one), then shows the listing.
bool deleteChange(ProgramState& state);
// The change listing on the screen, or on a device the user chooses.
void showChangeListing(ProgramState& state);
void printChangeListing(ProgramState& state);

bool editDrawingInfo(ProgramState& state, DocumentationDialogs& dialogs);
bool editDocumentSetup(ProgramState& state, DocumentationDialogs& dialogs);

// Starts the program of slot k (1..5) with its document, without a shell; a
// program that cannot be started is reported.
bool openDocument(ProgramState& state, int slot);

} // namespace zam1
