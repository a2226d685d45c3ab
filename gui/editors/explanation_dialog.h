#pragma once
// The explanation of a calculation message (`Thelperr`): the message, its cause
// and its remedy, the two texts editable. It reports whether the user changed
// either text however the dialog was left; the core asks "Save Changes ?".

#include <QPointer>
#include <QWidget>

#include "core/messages/message_display.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {

class QtExplanationView final : public ExplanationView {
public:
    explicit QtExplanationView(QWidget* parent, DialogEnvironment environment = {});

    // OK closes it; Escape or the window's close button count as cancelled, and
    // the message loop then stops.
    ExplanationEdit show(std::string_view message, std::string_view cause, std::string_view remedy) override;

private:
    QPointer<QWidget> m_parent;
    DialogEnvironment m_environment;
};

} // namespace zam1
