#include "gui/graphics/step_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/editors/dialog_geometry.h"

namespace zam1 {

StepDialog::StepDialog(QWidget* graphicsWindow) : QDialog(graphicsWindow) {
    setObjectName(QStringLiteral("StepDialog"));
    setWindowTitle(QStringLiteral("Animation"));
    setWindowModality(Qt::WindowModal);
    auto* label = new QLabel(QStringLiteral("N\u00e4chster Schritt: \u201e+\u201c  \u2013  bis zum Ende: \u201e++\u201c"), this);
    label->setObjectName(QStringLiteral("Label_step"));
    auto* step = new QPushButton(QStringLiteral("+"), this);
    step->setObjectName(QStringLiteral("Button_step"));
    step->setDefault(true);
    auto* run = new QPushButton(QStringLiteral("++"), this);
    run->setObjectName(QStringLiteral("Button_run"));
    connect(step, &QPushButton::clicked, this, [this] {
        hide();
        emit stepChosen(false);
    });
    connect(run, &QPushButton::clicked, this, [this] {
        hide();
        emit stepChosen(true);
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(step);
    buttons->addWidget(run);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addLayout(buttons);
    applyDialogLook(*this, DialogLook{100, 100, graphicsWindow});
}

// Escape or closing the dialog goes on to the end, as "++" does: the picture is
// never left half drawn.
void StepDialog::reject() {
    hide();
    emit stepChosen(true);
}

} // namespace zam1
