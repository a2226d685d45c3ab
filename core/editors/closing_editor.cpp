#include "core/editors/closing_editor.h"

#include <algorithm>
#include <limits>

#include "core/lang/language.h"
#include "core/model/chain.h"
#include "core/platform/error_flag.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"

namespace zam1 {

std::string closingListText(const Chain& chain, int k) {
    const ClosingDimension& c = chain.closing(k);
    std::string line = intText(k) + ": " + intText(c.fromElement) + " -> " + intText(c.toElement) + " : " +
                       c.text.str() + "  " + c.remark.str();
    if (line.size() > static_cast<std::size_t>(kClosingListWidth)) line.resize(kClosingListWidth);
    return line;
}

std::vector<std::string> closingListTexts(const Chain& chain) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(chain.closingCount()));
    for (int k = 1; k <= chain.closingCount(); ++k) lines.push_back(closingListText(chain, k));
    return lines;
}

ClosingRecordInput closingRecordInput(const ClosingDimension& closing) {
    return {intText(closing.fromElement), intText(closing.toElement), closing.text.str(), closing.remark.str()};
}

namespace {

std::int32_t elementNumberOrZero(const std::string& text) {
    long long value = 0;
    if (!parseInteger(text, value)) return 0;
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) return 0;
    return static_cast<std::int32_t>(value);
}

} // namespace

void applyClosingRecordInput(ClosingDimension& closing, const ClosingRecordInput& input) {
    closing.fromElement = elementNumberOrZero(input.fromElement);
    closing.toElement = elementNumberOrZero(input.toElement);
    closing.text = input.text;
    closing.remark = input.remark;
}

namespace {

// One run of the editor: the loop's state and its steps. Each step returns false
// when the editor ends.
class ClosingEditorRun {
public:
    ClosingEditorRun(Chain& chain, const LanguageTexts& texts, Prompter& prompter, ErrorFlag& error,
                     ClosingEditorView& view)
        : m_chain(chain), m_texts(texts), m_prompter(prompter), m_error(error), m_view(view) {}

    ClosingEditorOutcome run() {
        if (m_chain.elementCount() == 0) {
            m_prompter.showError(m_texts.main.noElementsEntered + " !");
            m_error.set();
            return m_outcome;
        }
        m_error.clear();
        while (!m_error && pass()) {
        }
        return m_outcome;
    }

private:
    bool pass() {
        m_view.setHelpContext(kHelpClosingList);
        const ClosingEditorView::ListAnswer answer = m_view.showList(closingListTexts(m_chain), m_chosen);
        if (answer.cancelled) {
            m_error.set();
            return false;
        }
        const int count = m_chain.closingCount();
        m_chosen = std::clamp(answer.chosenLine, 0, count);
        switch (answer.action) {
        case ClosingListAction::New:
            m_chosen = 0;
            return addAtEnd();
        case ClosingListAction::Insert:
            // On an empty list there is nothing to insert before: it is New.
            return count == 0 ? addAtEnd() : insert();
        case ClosingListAction::Delete:
            return remove();
        case ClosingListAction::Change:
        case ClosingListAction::DoubleClick:
            if (count == 0) return addAtEnd();
            if (m_chosen == 0) m_chosen = 1;
            return edit(m_chosen);
        default:
            m_error.clear();
            return false;
        }
    }

    bool addAtEnd() {
        const int k = m_chain.closingCount() + 1;
        if (k > kMaxClosing) return refuse(m_texts.closingEditor.tooManyClosing);
        m_chain.setClosingCount(k);
        m_outcome.changed = true;
        // The record shows what it holds: cleared values, or those a delete left there.
        return edit(k);
    }

    bool insert() {
        int position = m_chosen;
        if (position == 0) {
            position = 1;
            m_view.setHelpContext(kHelpClosingInsert);
            if (!askLine(m_texts.closingEditor.insertBefore + " ?", position)) return false;
        }
        if (m_chain.closingCount() + 1 > kMaxClosing) return refuse(m_texts.closingEditor.tooManyData);
        // The record at the position keeps its old values: the user edits a copy of them.
        const ClosingDimension old = m_chain.closing(position);
        m_chain.insertClosing(position);
        m_chain.closing(position) = old;
        m_outcome.changed = true;
        m_chosen = position;
        return edit(position);
    }

    bool remove() {
        const int count = m_chain.closingCount();
        if (count == 0) return true;
        int position = m_chosen;
        if (position == 0) {
            position = 1;
            m_view.setHelpContext(kHelpClosingDelete);
            if (!askLine(m_texts.closingEditor.selectToDelete + " ...", position)) return false;
        }
        m_chain.deleteClosing(position);
        m_outcome.changed = true;
        // The chosen line stays on the list: the last line when the last one went.
        m_chosen = std::min(position, m_chain.closingCount());
        return true;
    }

    bool edit(int k) {
        ClosingRecordInput input = closingRecordInput(m_chain.closing(k));
        m_view.setHelpContext(kHelpClosingRecord);
        if (!m_view.editRecord(k, input)) {
            m_error.set();
            return false;
        }
        ClosingDimension& record = m_chain.closing(k);
        const ClosingDimension before = record;
        applyClosingRecordInput(record, input);
        if (record.fromElement != before.fromElement || record.toElement != before.toElement ||
            !(record.text == before.text) || !(record.remark == before.remark)) {
            m_outcome.changed = true;
        }
        m_error.clear();
        return true;
    }

    // A line of the list through the choice prompt; false (error flag set) when cancelled.
    bool askLine(const std::string& prompt, int& line) {
        const int count = m_chain.closingCount();
        if (!m_prompter.askChoice(prompt, closingListTexts(m_chain), line)) {
            m_error.set();
            return false;
        }
        line = std::clamp(line, 1, count);
        return true;
    }

    bool refuse(const std::string& message) {
        m_prompter.showError(message + " !");
        m_error.set();
        return false;
    }

    Chain& m_chain;
    const LanguageTexts& m_texts;
    Prompter& m_prompter;
    ErrorFlag& m_error;
    ClosingEditorView& m_view;
    ClosingEditorOutcome m_outcome;
    int m_chosen = 0;
};

} // namespace

ClosingEditorOutcome runClosingEditor(Chain& chain, const LanguageTexts& texts, Prompter& prompter, ErrorFlag& error,
                                      ClosingEditorView& view) {
    return ClosingEditorRun(chain, texts, prompter, error, view).run();
}

} // namespace zam1
