#pragma once
// The three dialogs of the Documentation menu: a change record (`TForm_EinAend`),
// the drawing information of the title block (`TForm_zeichInfo`) and the set-up
// of the five documents (`TForm_confDoku`). They show the forms the core hands
// over and give back what the user left in them; Abbrechen gives nothing.

#include <QPointer>
#include <QWidget>

#include "core/app/documentation_commands.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {

class Prompter;

class QtDocumentationDialogs final : public DocumentationDialogs {
public:
    // `prompter` serves the "..." file pickers of the document set-up (none: they stay disabled).
    explicit QtDocumentationDialogs(QWidget* parent, Prompter* prompter = nullptr, DialogEnvironment environment = {});

    std::optional<ChangeForm> editChange(int number, const ChangeForm& form, std::string_view today) override;
    std::optional<DrawingInfoForm> editDrawingInfo(const DrawingInfoForm& form, std::string_view approvalLabel,
                                                   std::string_view today) override;
    std::optional<std::array<DocumentSlotForm, kDocumentSlots>> editDocumentSlots(
        const std::array<DocumentSlotForm, kDocumentSlots>& forms) override;

private:
    QPointer<QWidget> m_parent;
    Prompter* m_prompter;
    DialogEnvironment m_environment;
};

} // namespace zam1
