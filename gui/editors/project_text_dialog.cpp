#include "gui/editors/project_text_dialog.h"

#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/editors/project_text.h"
#include "core/lang/language.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_geometry.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

struct FieldLook {
    const char* labelName;
    const char* editName;
};

constexpr FieldLook kFields[kProjectTextFields] = {
    {"Label_zeichname", "Edit_zeichname"},   {"Label_zeichname2", "Edit_zeichname2"},
    {"Label_zeichnr", "Edit_zeichnr"},       {"Label_bemerkung1", "Edit_bemerkung1"},
    {"Label_bemerkung2", "Edit_bemerkung2"}, {"Label_bemerkung3", "Edit_bemerkung3"},
};

std::array<QString, kProjectTextFields> captions(const MainTexts& t) {
    const QString remark = fromOem(t.remarkLine);
    return {fromOem(t.drawingName), fromOem(t.drawingName2), fromOem(t.drawingNumber),
            remark + QStringLiteral(" 1"), remark + QStringLiteral(" 2"), remark + QStringLiteral(" 3")};
}

} // namespace

std::optional<ProjectTextForm> editProjectText(const ProjectTextForm& form, const MainTexts& texts,
                                               const DialogEnvironment& environment) {
    QDialog dialog(environment.parent);
    dialog.setObjectName(QStringLiteral("Form_projekttext"));
    dialog.setWindowTitle(QStringLiteral("ZAM1 ") + fromOem(texts.projectText));

    const std::array<QString, kProjectTextFields> labels = captions(texts);
    std::array<QLineEdit*, kProjectTextFields> edits{};
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < kProjectTextFields; ++i) {
        auto* edit = new QLineEdit(fromOem(form[i]), &dialog);
        edit->setObjectName(QLatin1String(kFields[i].editName));
        const int capacity = static_cast<int>(projectTextCapacities()[i]);
        edit->setMaxLength(capacity);
        // Wide enough to show the whole capacity, as the printouts will.
        edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * capacity * 6 / 5 + 12);
        auto* label = new QLabel(labels[i], &dialog);
        label->setObjectName(QLatin1String(kFields[i].labelName));
        label->setBuddy(edit);
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1, Qt::AlignLeft);
        edits[i] = edit;
    }

    QHBoxLayout* buttons = buttonRow(dialog, environment.words, {.helpButton = false}).layout;

    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    edits[0]->setFocus();
    edits[0]->selectAll();

    installHelp(dialog, 2200, environment.help);
    applyDialogLook(dialog, environment.look);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    ProjectTextForm typed;
    for (std::size_t i = 0; i < kProjectTextFields; ++i) typed[i] = toOem(edits[i]->text());
    return typed;
}

} // namespace zam1
