#include "gui/editors/plot_settings_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <optional>

#include "core/config/plot_settings.h"
#include "core/graphics/palette.h"
#include "core/platform/prompter.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

constexpr int kPlotHelp = 6600;  // the drawing these settings are for

QString numberText(long double v) { return QString::fromStdString(autoNumber(v, {}, 6)); }

// A typed number, "." or ","; nothing for what is not one or lies outside the range.
std::optional<long double> typedNumber(const QLineEdit& edit, long double lower, long double upper) {
    long double v = 0;
    if (!parseNumber(edit.text().toStdString(), v) || v < lower || v > upper) return std::nullopt;
    return v;
}

// The dialog's words in the program's language (German where it has none).
struct PlotWords {
    QString title, paper, size, orientation, portrait, landscape, scale, scaleRow, pens, pen, programRow, program, invalid;
};

PlotWords plotWords(int language) {
    switch (language) {
    case 2:
        return {QStringLiteral("Plot settings"), QStringLiteral("Paper"), QStringLiteral("Size"),
                QStringLiteral("Orientation"), QStringLiteral("Portrait"), QStringLiteral("Landscape"),
                QStringLiteral("Scale"), QStringLiteral("Scale (0 = fill the sheet)"),
                QStringLiteral("Pen width per colour (mm)"), QStringLiteral("Pen width %1"),
                QStringLiteral("Plot program (empty: print through the print dialog)"), QStringLiteral("Plot program"),
                QStringLiteral("Invalid input ")};
    case 3:
        return {QStringLiteral("Paramètres du traceur"), QStringLiteral("Papier"), QStringLiteral("Format"),
                QStringLiteral("Orientation"), QStringLiteral("Portrait"), QStringLiteral("Paysage"),
                QStringLiteral("Échelle"), QStringLiteral("Échelle (0 = remplir la feuille)"),
                QStringLiteral("Épaisseur de trait par couleur (mm)"), QStringLiteral("Épaisseur de trait %1"),
                QStringLiteral("Programme de tracé (vide : imprimer par la boîte d'impression)"),
                QStringLiteral("Programme de tracé"), QStringLiteral("Entrée invalide ")};
    default:
        return {QStringLiteral("Plot-Einstellungen"), QStringLiteral("Papier"), QStringLiteral("Format"),
                QStringLiteral("Ausrichtung"), QStringLiteral("Hochformat"), QStringLiteral("Querformat"),
                QStringLiteral("Maßstab"), QStringLiteral("Maßstab (0 = Blatt füllen)"),
                QStringLiteral("Strichstärke je Farbe (mm)"), QStringLiteral("Strichstärke %1"),
                QStringLiteral("Plotprogramm (leer: über den Druckdialog drucken)"), QStringLiteral("Plotprogramm"),
                QStringLiteral("Ungültige Eingabe ")};
    }
}

class PlotDialog {
public:
    PlotDialog(const PlotSettings& plot, const DialogEnvironment& environment)
        : m_plot(plot), m_prompter(environment.prompter), m_language(environment.language),
          m_words(plotWords(m_language)), m_dialog(environment.parent) {
        m_dialog.setObjectName(QStringLiteral("Form_plotConfig"));
        m_dialog.setWindowTitle(m_words.title);
        auto* outer = new QVBoxLayout(&m_dialog);
        outer->addWidget(pageBox());
        outer->addWidget(penBox());
        outer->addWidget(programBox());
        outer->addLayout(buttonRow(m_dialog, environment.words,
                                   {.onOk = [this] {
                                        if (store()) m_dialog.accept();
                                    },
                                    .helpContext = kPlotHelp,
                                    .help = environment.help})
                             .layout);
        applyDialogLook(m_dialog, environment.look);
    }

    std::optional<PlotSettings> run() {
        if (m_dialog.exec() != QDialog::Accepted) return std::nullopt;
        return m_plot;
    }

private:
    QGroupBox* pageBox() {
        auto* box = new QGroupBox(m_words.paper, &m_dialog);
        auto* form = new QFormLayout(box);
        m_paper = new QComboBox(box);
        m_paper->setObjectName(QStringLiteral("ComboBox_paper"));
        for (const PaperSize& p : kPaperSizes) {
            m_paper->addItem(QStringLiteral("%1  (%2 x %3 mm)")
                                 .arg(QString::fromUtf8(p.name.data(), static_cast<qsizetype>(p.name.size())))
                                 .arg(p.widthMm)
                                 .arg(p.heightMm));
        }
        m_paper->setCurrentIndex(std::clamp(m_plot.paper, 0, static_cast<int>(kPaperSizes.size()) - 1));
        form->addRow(m_words.size, m_paper);
        auto* orientation = new QWidget(box);
        auto* radios = new QHBoxLayout(orientation);
        radios->setContentsMargins(0, 0, 0, 0);
        m_portrait = new QRadioButton(m_words.portrait, orientation);
        m_portrait->setObjectName(QStringLiteral("RadioButton_portrait"));
        m_landscape = new QRadioButton(m_words.landscape, orientation);
        m_landscape->setObjectName(QStringLiteral("RadioButton_landscape"));
        (m_plot.landscape ? m_landscape : m_portrait)->setChecked(true);
        radios->addWidget(m_portrait);
        radios->addWidget(m_landscape);
        radios->addStretch(1);
        form->addRow(m_words.orientation, orientation);
        m_scale = new QLineEdit(numberText(m_plot.scale), box);
        m_scale->setObjectName(QStringLiteral("Edit_scale"));
        form->addRow(m_words.scaleRow, m_scale);
        return box;
    }

    QGroupBox* penBox() {
        auto* box = new QGroupBox(m_words.pens, &m_dialog);
        auto* grid = new QGridLayout(box);
        for (int i = 0; i < kPlotPens; ++i) {
            const Rgb c = paletteColour(i);
            auto* swatch = new QLabel(QString::number(i), box);
            swatch->setAlignment(Qt::AlignCenter);
            swatch->setFixedSize(28, 20);
            const bool dark = c.r + c.g + c.b < 300;
            swatch->setStyleSheet(QStringLiteral("background: rgb(%1,%2,%3); color: %4; border: 1px solid gray;")
                                      .arg(c.r).arg(c.g).arg(c.b)
                                      .arg(dark ? QStringLiteral("white") : QStringLiteral("black")));
            auto* edit = new QLineEdit(numberText(m_plot.penWidthsMm[static_cast<std::size_t>(i)]), box);
            edit->setObjectName(QStringLiteral("Edit_pen%1").arg(i));
            edit->setMaximumWidth(70);
            m_pens[static_cast<std::size_t>(i)] = edit;
            const int row = i % 8;
            const int column = (i / 8) * 2;
            grid->addWidget(swatch, row, column);
            grid->addWidget(edit, row, column + 1);
        }
        return box;
    }

    QGroupBox* programBox() {
        auto* box = new QGroupBox(m_words.programRow, &m_dialog);
        auto* row = new QHBoxLayout(box);
        m_program = new QLineEdit(QString::fromStdString(m_plot.program), box);
        m_program->setObjectName(QStringLiteral("Edit_program"));
        m_program->setMinimumWidth(300);
        auto* pick = new QPushButton(QStringLiteral("..."), box);
        pick->setObjectName(QStringLiteral("Button_program"));
        pick->setAutoDefault(false);
        pick->setMaximumWidth(32);
        pick->setEnabled(m_prompter != nullptr);
        QObject::connect(pick, &QPushButton::clicked, m_program, [this] {
            FileChoice choice;
            choice.title = toOem(m_words.program);
            choice.filter = "*|*";
            std::string path = m_program->text().toStdString();
            if (m_prompter->chooseOpenFile(choice, path)) m_program->setText(QString::fromStdString(path));
        });
        row->addWidget(m_program, 1);
        row->addWidget(pick);
        return box;
    }

    // Takes the dialog over; a number that is not one is reported and nothing is stored.
    bool store() {
        PlotSettings out = m_plot;
        const auto refuse = [this](const QString& what) {
            if (m_prompter) m_prompter->showError(toOem(m_words.invalid + what));
            return false;
        };
        const auto scale = typedNumber(*m_scale, 0, 1000);
        if (!scale) return refuse(m_words.scale);
        out.scale = *scale;
        for (int i = 0; i < kPlotPens; ++i) {
            const auto width = typedNumber(*m_pens[static_cast<std::size_t>(i)], 0, 10);
            if (!width) return refuse(m_words.pen.arg(i));
            out.penWidthsMm[static_cast<std::size_t>(i)] = *width;
        }
        out.paper = m_paper->currentIndex();
        out.landscape = m_landscape->isChecked();
        out.program = m_program->text().trimmed().toStdString();
        m_plot = out;
        return true;
    }

    PlotSettings m_plot;
    Prompter* m_prompter;
    int m_language;
    PlotWords m_words;
    QDialog m_dialog;
    QComboBox* m_paper = nullptr;
    QRadioButton* m_portrait = nullptr;
    QRadioButton* m_landscape = nullptr;
    QLineEdit* m_scale = nullptr;
    std::array<QLineEdit*, kPlotPens> m_pens{};
    QLineEdit* m_program = nullptr;
};

} // namespace

std::optional<PlotSettings> editPlotSettings(const PlotSettings& plot, const DialogEnvironment& environment) {
    PlotDialog dialog(plot, environment);
    return dialog.run();
}

} // namespace zam1
