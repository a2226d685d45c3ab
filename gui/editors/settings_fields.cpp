#include "gui/editors/settings_fields.h"

#include "core/config/settings_texts.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVariant>

#include <string>

#include "core/graphics/palette.h"
#include "core/platform/path_parts.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

using E = SettingsEditor;

// The longest real number a field takes.
constexpr int kRealLength = 30;

QString swatchStyle(int number, bool cad) {
    const Rgb c = paletteColour(cad ? GetColorTurbo(number) : number);
    return QStringLiteral("background: rgb(%1,%2,%3); border: 1px solid gray;").arg(c.r).arg(c.g).arg(c.b);
}

bool isReal(RowKind kind) { return kind == RowKind::Real || kind == RowKind::ShortReal; }

class Field final : public SettingsField {
public:
    Field(const ConfigRow& row, int language)
        : SettingsField(row.dialog.group, QString::fromStdString(settingsText(row.dialog.label, language))), m_row(row),
          m_language(language) {}

    QWidget* create(QWidget* parent, Prompter* prompter) override {
        const SettingsPlace& place = m_row.dialog;
        switch (place.editor) {
        case E::Line: {
            m_line = new QLineEdit(parent);
            const int length = isReal(m_row.kind) ? kRealLength : static_cast<int>(m_row.at.capacity());
            if (length > 0) m_line->setMaxLength(length);
            m_line->setObjectName(key());
            return m_line;
        }
        case E::Folder:
        case E::File: return pathEditor(parent, prompter);
        case E::Spin:
            m_spin = new QSpinBox(parent);
            m_spin->setRange(place.lo, place.hi);
            m_spin->setObjectName(key());
            return m_spin;
        case E::Combo:
            m_combo = new QComboBox(parent);
            for (const SettingsChoice& choice : place.choices) m_combo->addItem(QString::fromStdString(settingsText(choice.text, m_language)), choice.value);
            m_combo->setObjectName(key());
            return m_combo;
        case E::Check:
        case E::CheckOpposite:
            m_check = new QCheckBox(parent);
            m_check->setObjectName(key());
            return m_check;
        case E::PaletteColour:
        case E::CadColour: return colourEditor(parent);
        case E::None: break;
        }
        return nullptr;
    }

    void load(const Configuration& config) override {
        const QVariant v = get(config);
        if (m_line) m_line->setText(v.toString());
        if (m_spin) m_spin->setValue(v.toInt());
        if (m_check) m_check->setChecked(v.toBool());
        if (m_combo) {
            // A value the list does not know (a hand-edited file) is shown as it is, not lost.
            int index = m_combo->findData(v.toInt());
            if (index < 0) {
                m_combo->addItem(QString::number(v.toInt()), v.toInt());
                index = m_combo->count() - 1;
            }
            m_combo->setCurrentIndex(index);
        }
        m_shown = value();
    }

    bool changed() const override { return value() != m_shown; }

    bool store(Configuration& config) const override { return set(config, value()); }

private:
    QString key() const { return QString::fromUtf8(m_row.dialog.key); }

    // The setting as its widget shows it.
    QVariant get(const Configuration& c) const {
        const RowMember& at = m_row.at;
        if (m_row.kind == RowKind::Text) return fromOem(at.text(c));
        if (at.isText()) return QString::fromStdString(std::string(at.text(c)));
        const long double number = at.number(c);
        if (isReal(m_row.kind)) return QString::fromStdString(autoNumber(number, {}, 9));
        switch (m_row.dialog.editor) {
        case E::Check: return m_row.kind == RowKind::Letter ? number == 'J' : number != 0;
        case E::CheckOpposite: return number == 0;
        default: return static_cast<int>(number);
        }
    }

    // Stores what the widget shows; a real that is not a number is refused, never read as 0.
    bool set(Configuration& c, const QVariant& v) const {
        const RowMember& at = m_row.at;
        if (m_row.kind == RowKind::Text) {
            at.setText(c, toOem(v.toString()));
        } else if (at.isText()) {
            at.setText(c, v.toString().toStdString());
        } else if (isReal(m_row.kind)) {
            long double number = 0;
            if (!parseNumber(v.toString().toStdString(), number)) return false;
            at.setNumber(c, number);
        } else if (m_row.dialog.editor == E::Check && m_row.kind == RowKind::Letter) {
            at.setNumber(c, v.toBool() ? 'J' : 'N');
        } else if (m_row.dialog.editor == E::Check || m_row.dialog.editor == E::CheckOpposite) {
            at.setNumber(c, v.toBool() == (m_row.dialog.editor == E::Check) ? 1 : 0);
        } else {
            at.setNumber(c, v.toInt());
        }
        return true;
    }

    QVariant value() const {
        if (m_line) return m_line->text();
        if (m_spin) return m_spin->value();
        if (m_check) return m_check->isChecked();
        if (m_combo) return m_combo->currentData();
        return {};
    }

    QWidget* pathEditor(QWidget* parent, Prompter* prompter) {
        auto* box = new QWidget(parent);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        m_line = new QLineEdit(box);
        m_line->setObjectName(key());
        m_line->setMinimumWidth(320);
        auto* pick = new QPushButton(QStringLiteral("..."), box);
        pick->setObjectName(key() + QStringLiteral("_pick"));
        pick->setMaximumWidth(32);
        pick->setAutoDefault(false);
        pick->setEnabled(prompter != nullptr);
        row->addWidget(m_line, 1);
        row->addWidget(pick);
        const bool folder = m_row.dialog.editor == E::Folder;
        QObject::connect(pick, &QPushButton::clicked, m_line, [this, prompter, folder] {
            std::string path = m_line->text().toStdString();
            bool chosen = false;
            if (folder) {
                chosen = prompter->chooseFolder(toOem(label()), path);
            } else {
                FileChoice choice;
                choice.title = toOem(label());
                choice.filter = "*|*";
                // The program's folder; none for a bare name that the search path finds.
                if (path.find('/') != std::string::npos) choice.folder = folderOf(path);
                chosen = prompter->chooseOpenFile(choice, path);
            }
            if (chosen) m_line->setText(QString::fromStdString(path));
        });
        return box;
    }

    QWidget* colourEditor(QWidget* parent) {
        auto* box = new QWidget(parent);
        auto* row = new QHBoxLayout(box);
        row->setContentsMargins(0, 0, 0, 0);
        m_spin = new QSpinBox(box);
        m_spin->setRange(0, 255);
        m_spin->setObjectName(key());
        auto* swatch = new QLabel(box);
        swatch->setFixedSize(40, 18);
        const bool cad = m_row.dialog.editor == E::CadColour;
        QObject::connect(m_spin, &QSpinBox::valueChanged, swatch,
                         [swatch, cad](int n) { swatch->setStyleSheet(swatchStyle(n, cad)); });
        swatch->setStyleSheet(swatchStyle(0, cad));
        row->addWidget(m_spin);
        row->addWidget(swatch);
        row->addStretch(1);
        return box;
    }

    const ConfigRow& m_row;
    QVariant m_shown;
    int m_language = 0;
    QLineEdit* m_line = nullptr;
    QSpinBox* m_spin = nullptr;
    QComboBox* m_combo = nullptr;
    QCheckBox* m_check = nullptr;
};

} // namespace

std::vector<std::unique_ptr<SettingsField>> settingsFields(int language) {
    std::vector<std::unique_ptr<SettingsField>> fields;
    for (int group = 0; group < kSettingsGroups; ++group) {
        for (const ConfigRow& row : configRows()) {
            if (row.dialog.editor != E::None && static_cast<int>(row.dialog.group) == group) {
                fields.push_back(std::make_unique<Field>(row, language));
            }
        }
    }
    return fields;
}

} // namespace zam1
