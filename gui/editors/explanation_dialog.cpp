#include "gui/editors/explanation_dialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include "gui/editors/dialog_help.h"

namespace zam1 {
namespace {

constexpr int kExplanationHelp = 1970;

QPlainTextEdit* memo(QDialog& dialog, const char* name, std::string_view text, bool& changed) {
    auto* edit = new QPlainTextEdit(fromOem(text), &dialog);
    edit->setObjectName(QLatin1String(name));
    edit->setMinimumSize(420, 80);
    // Connected after the text is in: only the user's edits count.
    QObject::connect(edit, &QPlainTextEdit::textChanged, &dialog, [&changed] { changed = true; });
    return edit;
}

QLabel* label(QDialog& dialog, const char* name, const QString& text) {
    auto* l = new QLabel(text, &dialog);
    l->setObjectName(QLatin1String(name));
    return l;
}

} // namespace

QtExplanationView::QtExplanationView(QWidget* parent, DialogEnvironment environment)
    : m_parent(parent), m_environment(std::move(environment)) {}

ExplanationEdit QtExplanationView::show(std::string_view message, std::string_view cause, std::string_view remedy) {
    bool changed = false;
    QDialog dialog(m_parent);
    dialog.setObjectName(QStringLiteral("helperr"));
    dialog.setWindowTitle(QStringLiteral("Fehlermeldung"));
    auto* messageEdit = new QLineEdit(fromOem(message), &dialog);
    messageEdit->setObjectName(QStringLiteral("Edit_meldung"));
    messageEdit->setReadOnly(true);
    QPlainTextEdit* causeMemo = memo(dialog, "Memo_ursache", cause, changed);
    QPlainTextEdit* remedyMemo = memo(dialog, "Memo_abhilfe", remedy, changed);

    auto* grid = new QGridLayout;
    grid->addWidget(label(dialog, "Label_meldung", QStringLiteral("Fehlermeldung")), 0, 0);
    grid->addWidget(messageEdit, 0, 1);
    grid->addWidget(label(dialog, "Label_ursache", QStringLiteral("Ursache")), 1, 0, Qt::AlignTop);
    grid->addWidget(causeMemo, 1, 1);
    grid->addWidget(label(dialog, "Label_abhilfe", QStringLiteral("Abhilfe")), 2, 0, Qt::AlignTop);
    grid->addWidget(remedyMemo, 2, 1);

    auto* row = new QHBoxLayout;
    row->addStretch(1);
    QPushButton* ok = addButton(dialog, *row, "Button_ok", m_environment.words.ok);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
    QPushButton* help = addButton(dialog, *row, "Button_help", m_environment.words.help);
    installHelp(dialog, kExplanationHelp, m_environment.help, help);

    auto* outer = new QVBoxLayout(&dialog);
    outer->addLayout(grid);
    outer->addLayout(row);
    applyDialogLook(dialog, m_environment.look);
    ok->setFocus();
    const bool accepted = dialog.exec() == QDialog::Accepted;

    ExplanationEdit edit;
    edit.cause = toOem(causeMemo->toPlainText());
    edit.remedy = toOem(remedyMemo->toPlainText());
    edit.changed = changed;
    edit.cancelled = !accepted;
    return edit;
}

} // namespace zam1
