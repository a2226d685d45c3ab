#include "gui/editors/settings_dialog.h"

#include <QDialog>
#include <QDir>
#include <QFormLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/app/command_guard.h"
#include "core/config/config_file.h"
#include "core/config/settings_texts.h"
#include "core/platform/prompter.h"
#include "core/session/program_state.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/dialog_support.h"
#include "gui/editors/settings_fields.h"

namespace zam1 {
namespace {

constexpr int kSettingsHelp = 2100;

ScreenInfo currentScreen() {
    ScreenInfo info;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        info.width = screen->size().width();
        info.height = screen->size().height();
        info.dpiY = static_cast<int>(screen->logicalDotsPerInchY());
    }
    return info;
}

class SettingsDialog {
    // A button's handler under the command guard: an exception becomes the
    // program's message and the dialog stays open.
    template <class Handler>
    auto guarded(Handler handler) {
        return [this, handler = std::move(handler)] { runGuarded(m_prompter, m_file.error, handler); };
    }

public:
    SettingsDialog(const Configuration& current, const SettingsFile& file, const DialogEnvironment& environment)
        : m_file(file), m_prompter(environment.prompter), m_dialog(environment.parent),
          m_fields(settingsFields(current.language)) {
        const int language = current.language;
        const SettingsDialogWords words = settingsDialogWords(language);
        const auto text = [language](const char* german) { return QString::fromStdString(settingsText(german, language)); };
        m_dialog.setObjectName(QStringLiteral("Form_config"));
        m_dialog.setWindowTitle(QString::fromUtf8(words.caption));
        auto* tabs = new QTabWidget(&m_dialog);
        tabs->setObjectName(QStringLiteral("PageControl1"));
        // One page per tab, one box per group on it; the fields come in group order.
        QVBoxLayout* pages[kSettingsTabs] = {};
        for (int t = 0; t < kSettingsTabs; ++t) {
            auto* scroll = new QScrollArea(tabs);
            scroll->setWidgetResizable(true);
            scroll->setFrameShape(QFrame::NoFrame);
            auto* page = new QWidget(scroll);
            pages[t] = new QVBoxLayout(page);
            scroll->setWidget(page);
            tabs->addTab(scroll, text(settingsTabTitle(static_cast<SettingsTab>(t))));
        }
        QFormLayout* groups[kSettingsGroups] = {};
        for (const auto& field : m_fields) {
            QFormLayout*& form = groups[static_cast<int>(field->group())];
            if (form == nullptr) {
                QVBoxLayout* page = pages[static_cast<int>(field->tab())];
                auto* box = new QGroupBox(text(settingsGroupTitle(field->group())), page->parentWidget());
                form = new QFormLayout(box);
                form->setFieldGrowthPolicy(QFormLayout::ExpandingFieldsGrow);
                page->addWidget(box);
            }
            form->addRow(field->label(), field->create(form->parentWidget(), m_prompter));
        }
        for (QVBoxLayout* page : pages) page->addStretch(1);
        auto* outer = new QVBoxLayout(&m_dialog);
        outer->addWidget(tabs);
        // OK takes the settings over for this session only.
        QHBoxLayout* row = buttonRow(m_dialog, environment.words,
                                     {.onOk = guarded([this] {
                                          if (collect(m_chosen)) m_dialog.accept();
                                      }),
                                      .helpContext = kSettingsHelp,
                                      .help = environment.help})
                               .layout;
        // Speichern writes the file and keeps the dialog open; Import reads the file
        // into the dialog.
        QPushButton* save = addButton(m_dialog, *row, "Button_save", QString::fromUtf8(words.save));
        row->insertWidget(0, save);
        QObject::connect(save, &QPushButton::clicked, &m_dialog, guarded([this] { saveFile(); }));
        QPushButton* import = addButton(m_dialog, *row, "Button_import", QString::fromUtf8(words.import));
        row->insertWidget(1, import);
        QObject::connect(import, &QPushButton::clicked, &m_dialog, guarded([this] { importFile(); }));
        outer->addLayout(row);
        m_base = current;
        load();
        // Tabs in scroll areas ask for little room; the longest page and a path with its picker need this much.
        m_dialog.setMinimumSize(820, 620);
        applyDialogLook(m_dialog, environment.look);
    }

    std::optional<Configuration> run() {
        if (m_dialog.exec() != QDialog::Accepted) return std::nullopt;
        return m_chosen;
    }

private:
    void load() {
        for (const auto& field : m_fields) field->load(m_base);
    }

    // The settings as the dialog shows them: the loaded ones with the user's changes.
    bool collect(Configuration& out) {
        out = m_base;
        for (const auto& field : m_fields) {
            if (field->changed() && !field->store(out)) {
                if (m_prompter && m_file.texts) m_prompter->showError(m_file.texts->invalidInput + toOem(field->label()));
                return false;
            }
        }
        return true;
    }

    // The file gets what the dialog shows; the settings in memory change only with OK.
    void saveFile() {
        Configuration config;
        if (!collect(config)) return;
        if (!m_prompter || !m_file.texts || !m_file.error) return;
        m_file.error->clear();
        if (!writeConfiguration(m_file.directory, config, *m_file.texts, *m_prompter, *m_file.error)) {
            return;  // the writer has said why; the dialog stays open with the user's values
        }
        // What was written is now the state the fields compare with.
        m_base = config;
        load();
    }

    void importFile() {
        Configuration config;
        readConfiguration(m_file.directory, config, currentScreen(), QDir::currentPath().toStdString());
        m_base = config;
        load();
    }

    SettingsFile m_file;
    Prompter* m_prompter;
    QDialog m_dialog;
    std::vector<std::unique_ptr<SettingsField>> m_fields;
    Configuration m_base;
    Configuration m_chosen;
};

} // namespace

SettingsFile settingsFileOf(ProgramState& state) { return {state.configDirectory, &state.texts.main, &state.error}; }

std::optional<Configuration> editSettings(const Configuration& current, const SettingsFile& file,
                                          const DialogEnvironment& environment) {
    SettingsDialog dialog(current, file, environment);
    return dialog.run();
}

} // namespace zam1
