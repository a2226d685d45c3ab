#include "gui/editors/sigma_angle_dialogs.h"

#include <QDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <cmath>

#include "core/analysis/input_check.h"
#include "core/model/chain.h"
#include "core/platform/prompter.h"
#include "core/lang/language.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/cell_input.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

const QString kProgramName = QStringLiteral("ZAM1");

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

// The fixed explanatory sketch: a red right triangle, the angle's arc, the two
// element circles with their captions, and the dimension lines for x and y.
class AngleSketch final : public QWidget {
public:
    AngleSketch(const QString& predecessorWord, const QString& elementWord, QWidget* parent)
        : QWidget(parent), m_predecessorWord(predecessorWord), m_elementWord(elementWord) {
        setObjectName(QStringLiteral("AngleSketch"));
        setFixedSize(360, 290);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::red, 3));
        p.drawPolygon(QPolygon({QPoint(50, 200), QPoint(300, 200), QPoint(300, 50)}));
        p.setPen(QPen(Qt::black, 1));
        p.drawArc(QRect(0, 150, 100, 100), 0, 31 * 16);  // the angle phi at the left corner
        for (int x : {50, 300}) {
            p.drawLine(x, 200, x, 250);  // extension lines
            p.drawEllipse(QPoint(x, 200), 5, 5);
        }
        p.drawText(QPoint(8, 275), m_predecessorWord);
        p.drawText(QPoint(272, 275), m_elementWord);
        arrowLine(p, QPoint(50, 240), QPoint(300, 240));  // x
        p.drawText(QPoint(170, 235), QStringLiteral("x"));
        arrowLine(p, QPoint(330, 200), QPoint(330, 50));  // y
        p.drawLine(300, 50, 340, 50);
        p.drawLine(300, 200, 340, 200);
        p.drawText(QPoint(336, 130), QStringLiteral("y"));
    }

private:
    static void arrowLine(QPainter& p, QPoint a, QPoint b) {
        p.drawLine(a, b);
        const double dx = b.x() - a.x(), dy = b.y() - a.y();
        const double length = std::hypot(dx, dy);
        const double ux = dx / length, uy = dy / length;
        for (auto [tip, dir] : {std::pair{a, 1.0}, std::pair{b, -1.0}}) {
            const QPointF base(tip.x() + dir * ux * 10, tip.y() + dir * uy * 10);
            p.setBrush(Qt::black);
            p.drawPolygon(QPolygonF({QPointF(tip), base + QPointF(-uy * 3, ux * 3), base - QPointF(-uy * 3, ux * 3)}));
        }
    }

    QString m_predecessorWord;
    QString m_elementWord;
};

} // namespace

std::optional<Element> runSigmaDialog(int elementNumber, const Element& element, long double productionSigma,
                                      std::string_view plusMinus, const LanguageTexts& texts,
                                      const DialogEnvironment& environment) {
    QDialog dialog(environment.parent);
    dialog.setObjectName(QStringLiteral("Form_zam1elsi"));
    dialog.setWindowTitle(kProgramName);
    dialog.setMinimumWidth(340);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label1 = namedLabel(&dialog, "Label1");
    auto* label2 = namedLabel(&dialog, "Label2");
    auto* fields = new QFormLayout;
    auto* edit = new QLineEdit(fromOem(autoNumber(productionSigma)), &dialog);
    edit->setObjectName(QStringLiteral("Edit1"));
    fields->addRow(namedLabel(&dialog, "Label3", QStringLiteral("Sigma i")), edit);
    fields->addRow(namedLabel(&dialog, "Label4", QStringLiteral("Sigma glob = ") + fromOem(autoNumber(productionSigma))));
    layout->addLayout(fields);
    layout->addWidget(label1);
    layout->addWidget(label2);
    // The display keeps the last sigma that made sense; OK uses it.
    std::optional<SigmaRescale> valid;
    const auto update = [&] {
        long double s = 0;
        if (!parseNumber(qtToOem(edit->text()), s)) return;
        const auto rescale = rescaleForSigma(element.upperDev, element.lowerDev, productionSigma, s);
        if (!rescale) return;
        valid = rescale;
        const SigmaTexts t = sigmaTexts(element, *rescale, s, productionSigma, plusMinus);
        label1->setText(fromOem(t.before));
        label2->setText(fromOem(t.after));
    };
    update();
    QObject::connect(edit, &QLineEdit::textChanged, &dialog, update);

    Element answer = element;
    Prompter* const prompter = environment.prompter;
    const auto takeSigma = [&] {
        if (!valid || !prompter) {  // no sigma to scale by: nothing to change
            dialog.accept();
            return;
        }
        // OK takes what the field says, never the last entry that read before a typo.
        const std::string typed = qtToOem(edit->text());
        long double s = 0;
        if (!parseNumber(typed, s) || !rescaleForSigma(element.upperDev, element.lowerDev, productionSigma, s)) {
            prompter->showError(notANumberText("Sigma i", typed, texts));
            edit->setFocus();
            return;
        }
        for (const auto& [name, value] : {std::pair{&texts.main.upperTolerance, valid->newUpper()},
                                          std::pair{&texts.main.lowerTolerance, valid->newLower()}}) {
            if (!lengthWithinLimit(value)) {
                prompter->showError(beyondLimitText(fieldName(elementNumber, *name, texts), autoNumber(value), texts));
                edit->setFocus();
                return;
            }
        }
        const Answer yes = prompter->askYesNoCancel(sigmaTexts(element, *valid, 0, productionSigma, plusMinus).question);
        if (yes == Answer::Cancel) return;
        if (yes == Answer::Yes) {
            answer.upperDev = valid->newUpper();
            answer.lowerDev = valid->newLower();
        }
        dialog.accept();
    };
    layout->addLayout(buttonRow(dialog, environment.words,
                                {.onOk = takeSigma, .helpContext = 5200, .help = environment.help, .helpText = true})
                          .layout);
    applyDialogLook(dialog, environment.look);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return answer;
}

std::optional<InclinedDistance> runAngleDialog(const QString& predecessor, const QString& elementNumber,
                                               const LanguageTexts& texts, const DialogEnvironment& environment) {
    const MainTexts& m = texts.main;
    QDialog dialog(environment.parent);
    dialog.setObjectName(QStringLiteral("Form_zam1el2"));
    dialog.setWindowTitle(kProgramName);
    auto* layout = new QHBoxLayout(&dialog);
    auto* sketch = new AngleSketch(fromOem(m.predecessor), fromOem(m.elementNumber), &dialog);
    namedLabel(sketch, "Label2", QStringLiteral("phi"))->move(104, 178);
    namedLabel(sketch, "Label_vorgel", predecessor)->move(8, 205);
    namedLabel(sketch, "Label_elnr", elementNumber)->move(272, 205);
    layout->addWidget(sketch);

    auto* right = new QVBoxLayout;
    auto* grid = new QGridLayout;
    const QString upperWord = fromOem(m.upperTolerance);
    const QString lowerWord = fromOem(m.lowerTolerance);
    struct Field {
        const char* edit;
        const char* caption;
        QString captionText;
        const char* unit;
        QString unitText;
        const char* initial;
    };
    const Field fields[] = {
        {"Edit_phi", "Label1", QStringLiteral("phi ="), "Label_phi", QStringLiteral("°"), "45"},
        {"Edit_phitolo", nullptr, {}, "Label_phitolo", QStringLiteral("° (") + upperWord + QStringLiteral(")"), "+0.5"},
        {"Edit_phitolu", nullptr, {}, "Label_phitolu", QStringLiteral("° (") + lowerWord + QStringLiteral(")"), "-0.5"},
        {"Edit_y", "Label8", QStringLiteral("y ="), "Label_y", QStringLiteral("mm"), "10"},
        {"Edit_ytolo", nullptr, {}, "Label_ytolo", QStringLiteral("mm (") + upperWord + QStringLiteral(")"), "+0.1"},
        {"Edit_ytolu", nullptr, {}, "Label_ytolu", QStringLiteral("mm (") + lowerWord + QStringLiteral(")"), "-0.1"},
    };
    std::array<QLineEdit*, 6> edits{};
    for (int i = 0; i < 6; ++i) {
        const Field& f = fields[i];
        if (f.caption) grid->addWidget(namedLabel(&dialog, f.caption, f.captionText), i, 0);
        edits[static_cast<std::size_t>(i)] = new QLineEdit(QLatin1String(f.initial), &dialog);
        QLineEdit* edit = edits[static_cast<std::size_t>(i)];
        edit->setObjectName(QLatin1String(f.edit));
        grid->addWidget(edit, i, 1);
        grid->addWidget(namedLabel(&dialog, f.unit, f.unitText), i, 2);
    }
    const char* results[] = {"Label_x", "Label_xtolo", "Label_xtolu"};
    const QString resultCaptions[] = {QStringLiteral("x ="), upperWord, lowerWord};
    std::array<QLabel*, 3> resultLabels{};
    for (int i = 0; i < 3; ++i) {
        grid->addWidget(new QLabel(resultCaptions[i], &dialog), 7 + i, 0);
        resultLabels[static_cast<std::size_t>(i)] = namedLabel(&dialog, results[i]);
        grid->addWidget(resultLabels[static_cast<std::size_t>(i)], 7 + i, 1);
    }
    grid->setRowMinimumHeight(6, 12);
    right->addLayout(grid);
    right->addStretch();
    std::optional<InclinedDistance> result;
    std::array<std::string, 6> typed;
    QPushButton* ok = nullptr;
    const auto update = [&] {
        for (std::size_t i = 0; i < typed.size(); ++i) typed[i] = qtToOem(edits[i]->text());
        const auto input = readAngleInput(typed);
        result = input ? inclinedDistance(*input) : std::nullopt;
        const auto labels = result ? inclinedLabels(*result) : std::array<std::string, 3>{};
        for (std::size_t i = 0; i < 3; ++i) resultLabels[i]->setText(fromOem(labels[i]));
        // Without a result there is nothing to take over, and OK must not zero the
        // element; a field that does not read keeps OK, which then says which one.
        ok->setEnabled(result.has_value() || !input);
    };
    const auto takeResult = [&] {
        const std::string fault = angleInputFault(typed, result, texts);
        if (!fault.empty() || !result) {
            if (environment.prompter && !fault.empty()) environment.prompter->showError(fault);
            return;
        }
        dialog.accept();
    };
    const ButtonRow buttons = buttonRow(
        dialog, environment.words, {.onOk = takeResult, .helpContext = 6200, .help = environment.help, .helpText = true});
    ok = buttons.ok;
    right->addLayout(buttons.layout);
    layout->addLayout(right);
    update();
    for (QLineEdit* edit : edits) QObject::connect(edit, &QLineEdit::textChanged, &dialog, update);
    applyDialogLook(dialog, environment.look);
    if (dialog.exec() != QDialog::Accepted || !result) return std::nullopt;
    return result;
}

} // namespace zam1
