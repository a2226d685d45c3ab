#include "gui/platform/qt_prompter.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>

#include "core/lang/language.h"
#include "core/session/program_identity.h"
#include "core/session/program_state.h"
#include "core/text/codepage.h"
#include "gui/editors/help_window.h"
#include "gui/editors/prompt_dialogs.h"

namespace zam1 {
namespace {


QStringList linesFromOem(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) out << fromOem(line);
    return out;
}

QString title() { return QString::fromUtf8(kProgramTitle.data(), static_cast<qsizetype>(kProgramTitle.size())); }

// No folder means the folder relative names are taken in: the current one, not
// whichever folder a file dialog showed last.
QString startFolder(const FileChoice& choice) {
    return choice.folder.empty() ? QDir::currentPath() : QString::fromStdString(choice.folder);
}

} // namespace

// The core's filters are "description|pattern" pairs ("*.zm1|*.zm1") or a bare
// pattern ("*.txt"); Qt wants "description (pattern)". "All files" is always
// offered, so a project with another extension can still be opened.
QString qtFileFilter(const FileChoice& choice) {
    const QStringList parts = QString::fromStdString(choice.filter).split(QLatin1Char('|'));
    QStringList filters;
    if (parts.size() >= 2) {
        for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters << parts[i] + QStringLiteral(" (") + parts[i + 1] + QLatin1Char(')');
    } else if (!parts.front().isEmpty()) {
        const QString& pattern = parts.front();
        filters << (pattern.contains(QLatin1Char('(')) ? pattern : pattern + QStringLiteral(" (") + pattern + QLatin1Char(')'));
    }
    filters << QStringLiteral("* (*)");
    return filters.join(QStringLiteral(";;"));
}

void QtPrompter::setScalePercent(int sizePercent, int fontPercent) {
    m_look.sizePercent = sizePercent;
    m_look.fontPercent = fontPercent;
}

PromptContext QtPrompter::context() {
    PromptContext c;
    c.look = m_look;
    c.look.centreOver = m_mainWindow;
    c.helpContext = m_helpContext;
    c.help = [this](int number, bool picture) { showHelp(number, picture); };
    c.words = buttonWords(language());
    return c;
}

void QtPrompter::showHelp(int helpContext, bool picture) {
    if (!picture) {
        zam1::showHelp(m_mainWindow, helpContext, language());
        return;
    }
    // No help pictures are installed with this build; say so with the number asked for.
    QMessageBox box(QMessageBox::Information, QStringLiteral("Meldung:"),
                    QStringLiteral("Hilfebild %1 ist nicht installiert.").arg(helpContext), QMessageBox::Ok,
                    m_mainWindow);
    box.setObjectName(QStringLiteral("HelpMessage"));
    box.exec();
}

bool QtPrompter::askChoice(std::string_view prompt, const std::vector<std::string>& lines, int& choice) {
    const std::optional<int> answer = askChoiceDialog(m_mainWindow, context(), fromOem(prompt), linesFromOem(lines), choice);
    if (!answer) return false;
    choice = *answer;
    return true;
}

bool QtPrompter::askText(std::string_view prompt, std::size_t maxLength, std::string& text) {
    const std::optional<QString> answer =
        askTextDialog(m_mainWindow, context(), fromOem(prompt), static_cast<int>(maxLength), fromOem(text));
    if (!answer) return false;
    text = toOem(*answer);
    return true;
}

bool QtPrompter::askYesNo(std::string_view prompt, bool& value) {
    const std::optional<bool> answer = askYesNoDialog(m_mainWindow, context(), fromOem(prompt), value);
    if (!answer) return false;
    value = *answer;
    return true;
}

Answer QtPrompter::askYesNoCancel(std::string_view question) {
    QMessageBox box(QMessageBox::Question, title(), fromOem(question),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, m_mainWindow);
    box.setObjectName(QStringLiteral("QuestionBox"));
    // The program's own words on the buttons, as its other dialogs have them.
    const MainTexts& t = texts().main;
    box.button(QMessageBox::Yes)->setText(fromOem(t.yes));
    box.button(QMessageBox::No)->setText(fromOem(t.no));
    box.button(QMessageBox::Cancel)->setText(fromOem(t.cancelButton));
    switch (box.exec()) {
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
    }
}

void QtPrompter::showError(std::string_view text) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Fehler : "), fromOem(text), QMessageBox::Ok, m_mainWindow);
    box.setObjectName(QStringLiteral("ErrorBox"));
    box.exec();
}

void QtPrompter::showNote(std::string_view text) {
    QMessageBox box(QMessageBox::Information, QStringLiteral("Meldung:"), fromOem(text), QMessageBox::Ok, m_mainWindow);
    box.setObjectName(QStringLiteral("NoteBox"));
    box.exec();
}

bool QtPrompter::chooseOpenFile(const FileChoice& choice, std::string& path) {
    const QString chosen = QFileDialog::getOpenFileName(m_mainWindow, fromOem(choice.title), startFolder(choice),
                                                        qtFileFilter(choice));
    if (chosen.isEmpty()) return false;
    path = chosen.toStdString();
    return true;
}

bool QtPrompter::chooseFolder(std::string_view title, std::string& folder) {
    const QString chosen = QFileDialog::getExistingDirectory(m_mainWindow, fromOem(title), QString::fromStdString(folder));
    if (chosen.isEmpty()) return false;
    folder = chosen.toStdString();
    return true;
}

bool QtPrompter::chooseSaveFile(const FileChoice& choice, std::string& path) {
    QFileDialog dialog(m_mainWindow, fromOem(choice.title), startFolder(choice), qtFileFilter(choice));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // One question, in the program's words, where the caller asks its own.
    if (choice.callerAsksOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString::fromStdString(choice.defaultExtension));
    if (!path.empty()) dialog.selectFile(QString::fromStdString(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().front().toStdString();
    return true;
}

bool QtPrompter::chooseDevice(std::string_view title, const std::vector<std::string>& devices, int& device) {
    return askChoice(title, devices, device);
}

void QtPrompter::showStatus(std::string_view text) {
    if (auto* main = qobject_cast<QMainWindow*>(m_mainWindow.data())) main->statusBar()->showMessage(fromOem(text), 3000);
}

void QtPrompter::beep() {
    ++m_beeps;
    QApplication::beep();
}

} // namespace zam1
