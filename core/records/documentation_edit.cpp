#include "core/records/documentation_edit.h"

#include <cmath>

#include "core/text/codepage.h"
#include "core/text/number_format.h"

namespace zam1 {
namespace {

bool blankText(std::string_view text) { return text.find_first_not_of(' ') == std::string_view::npos; }

// A typed number; what is not one (or is beyond any drawing) gives 0.
long double typedNumber(std::string_view text) {
    const long double v = numberOrZero(text);
    return std::isfinite(v) ? v : 0.0L;
}

} // namespace

ChangeForm changeFormOf(const ChangeRecord& record) {
    return {record.changeId.str(), record.changeDate.str(), record.changeEditor.str(), record.changeDescription.str()};
}

void storeChangeForm(ChangeRecord& record, const ChangeForm& form) {
    record.changeId = form.changeId;
    record.changeDate = form.changeDate;
    record.changeEditor = form.changeEditor;
    record.changeDescription = form.changeDescription;
}

int appendChange(Documentation& docs, std::string_view today) {
    if (docs.changeCount >= kMaxChanges) return 0;
    ++docs.changeCount;
    docs.changes[static_cast<std::size_t>(docs.changeCount - 1)].changeDate = today;
    return docs.changeCount;
}

void dropLastChange(Documentation& docs) {
    if (docs.changeCount > 0) --docs.changeCount;
}

bool removeLastChange(Documentation& docs) {
    if (docs.changeCount == 0) return false;
    --docs.changeCount;
    return true;
}

DrawingInfoForm drawingInfoFormOf(const DrawingInfo& info) {
    DrawingInfoForm f;
    f.replaces = info.replaces.str();
    f.replacedBy = info.replacedBy.str();
    f.dates = {info.drawnDate.str(), info.checkedDate.str(), info.standardsDate.str(), info.approvalDate.str()};
    f.names = {info.drawnName.str(), info.checkedName.str(), info.standardsName.str(), info.approvalName.str()};
    for (int i = 0; i < info.textRowCount && i < kMaxTextRows; ++i) {
        const DrawingTextRow& r = info.textRows[static_cast<std::size_t>(i)];
        const auto number = [](long double v) { return autoNumber(v, {}, 6); };
        f.rows[static_cast<std::size_t>(i)] = {number(r.x), number(r.y), number(r.h), number(r.phi), r.text.str()};
    }
    return f;
}

void storeDrawingInfoForm(DrawingInfo& info, const DrawingInfoForm& form) {
    info.replaces = form.replaces;
    info.replacedBy = form.replacedBy;
    ShortString<10>* dates[] = {&info.drawnDate, &info.checkedDate, &info.standardsDate, &info.approvalDate};
    ShortString<10>* names[] = {&info.drawnName, &info.checkedName, &info.standardsName, &info.approvalName};
    for (std::size_t i = 0; i < 4; ++i) {
        *dates[i] = form.dates[i];
        *names[i] = form.names[i];
    }
    int last = 1;
    for (int i = 0; i < kMaxTextRows; ++i) {
        if (!blankText(form.rows[static_cast<std::size_t>(i)].text)) last = i + 1;
    }
    for (int i = 0; i < kMaxTextRows; ++i) {
        const TextRowForm& f = form.rows[static_cast<std::size_t>(i)];
        DrawingTextRow& r = info.textRows[static_cast<std::size_t>(i)];
        if (i >= last) continue;  // rows beyond the count keep what they held
        r.x = typedNumber(f.x);
        r.y = typedNumber(f.y);
        r.h = typedNumber(f.h);
        r.phi = typedNumber(f.phi);
        r.text = f.text;
    }
    info.textRowCount = last;
}

std::array<DocumentSlotForm, kDocumentSlots> documentSlotFormsOf(const Documentation& docs) {
    std::array<DocumentSlotForm, kDocumentSlots> forms;
    for (std::size_t i = 0; i < forms.size(); ++i) {
        forms[i] = {docs.documents[i].programPath.str(), docs.documents[i].documentPath.str()};
    }
    return forms;
}

void storeDocumentSlotForms(Documentation& docs, const std::array<DocumentSlotForm, kDocumentSlots>& forms) {
    for (std::size_t i = 0; i < forms.size(); ++i) {
        docs.documents[i].programPath = forms[i].programPath;
        docs.documents[i].documentPath = forms[i].documentPath;
    }
}

DocumentLaunch documentLaunch(const Documentation& docs, int slot) {
    DocumentLaunch launch;
    if (slot < 1 || slot > kDocumentSlots) return launch;
    const DocumentSlot& s = docs.documents[static_cast<std::size_t>(slot - 1)];
    launch.program = oemToUtf8(s.programPath.view());
    if (!blankText(s.documentPath.view())) launch.arguments.push_back(oemToUtf8(s.documentPath.view()));
    return launch;
}

} // namespace zam1
