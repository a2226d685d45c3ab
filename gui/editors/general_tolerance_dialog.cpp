#include "gui/editors/general_tolerance_dialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/editors/general_tolerance_choice.h"
#include "core/platform/prompter.h"
#include "core/lang/language.h"
#include "core/text/number_format.h"
#include "gui/editors/dialog_help.h"
#include "gui/editors/cell_input.h"
#include "gui/editors/dialog_support.h"

namespace zam1 {
namespace {

QComboBox* namedCombo(QWidget* parent, const char* name, const std::vector<std::string>& items, int current) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QLatin1String(name));
    for (const std::string& item : items) box->addItem(fromOem(item));
    box->setCurrentIndex(std::clamp(current, 0, box->count() - 1));
    return box;
}

QLabel* namedLabel(QWidget* parent, const char* name, const std::string& oemText) {
    auto* label = new QLabel(fromOem(oemText), parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

} // namespace

std::optional<GeneralToleranceSetting> editGeneralTolerance(const GeneralToleranceSetting& setting,
                                                            const LanguageTexts& texts,
                                                            const DialogEnvironment& environment) {
    const GeneralToleranceTexts& t = texts.tolerance;
    const GeneralToleranceLists lists = generalToleranceLists(t);
    const GeneralToleranceChoice initial = choiceFromSetting(setting);

    QDialog dialog(environment.parent);
    dialog.setObjectName(QStringLiteral("Form_zam1frei"));
    dialog.setWindowTitle(QStringLiteral("ZAM1  ") + fromOem(t.generalTolerance));
    auto* layout = new QVBoxLayout(&dialog);
    auto* group = new QGroupBox(fromOem(t.generalTolerance), &dialog);
    group->setObjectName(QStringLiteral("RadioGroup1"));
    auto* grid = new QGridLayout(group);
    auto* radios = new QButtonGroup(&dialog);
    for (int i = 0; i < static_cast<int>(lists.items.size()); ++i) {
        auto* radio = new QRadioButton(fromOem(lists.items[static_cast<std::size_t>(i)]), group);
        radio->setObjectName(QStringLiteral("RadioButton%1").arg(i));
        radios->addButton(radio, i);
        grid->addWidget(radio, i, 0);
    }

    // Each item's controls stand on its own line.
    auto* editMax = new QLineEdit(QString::fromStdString(initial.constantUpper), group);
    editMax->setObjectName(QStringLiteral("Edit_max"));
    auto* editMin = new QLineEdit(QString::fromStdString(initial.constantLower), group);
    editMin->setObjectName(QStringLiteral("Edit_min"));
    auto* buttonMin = namedButton(group, "Button_min", QStringLiteral("<"));
    buttonMin->setFixedWidth(buttonMin->fontMetrics().horizontalAdvance(QStringLiteral("<<<<")));
    auto* constantRow = new QHBoxLayout;
    constantRow->addWidget(new QLabel(fromOem(texts.main.upperTolerance), group));
    constantRow->addWidget(editMax);
    constantRow->addWidget(buttonMin);
    constantRow->addWidget(new QLabel(fromOem(texts.main.lowerTolerance), group));
    constantRow->addWidget(editMin);
    grid->addLayout(constantRow, kItemConstant, 1, 1, 4);

    auto* c2768 = namedCombo(group, "ComboBox_2768", lists.iso2768, initial.iso2768);
    grid->addWidget(c2768, kItemIso2768, 1);
    auto* c16901 = namedCombo(group, "ComboBox_16901", lists.din16901, initial.din16901Group);
    auto* c16901a = namedCombo(group, "ComboBox_16901a", lists.din16901a, initial.din16901Bound);
    grid->addWidget(c16901, kItemDin16901, 1);
    grid->addWidget(c16901a, kItemDin16901, 2, 1, 3);
    auto* c6930 = namedCombo(group, "ComboBox_6930", lists.din6930, initial.din6930Class);
    auto* c6930a = namedCombo(group, "ComboBox_6930a", lists.din6930a, initial.din6930Range);
    grid->addWidget(c6930, kItemDin6930, 1);
    grid->addWidget(namedLabel(group, "Label_dicke", t.thicknessRange), kItemDin6930, 2);
    grid->addWidget(c6930a, kItemDin6930, 3, 1, 2);
    auto* c12420 = namedCombo(group, "ComboBox_12420", lists.en12420, initial.en12420Group);
    auto* c12420a = namedCombo(group, "ComboBox_12420a", lists.en12420a, initial.en12420Bound);
    auto* c12420b = namedCombo(group, "ComboBox_12420b", lists.en12420b, initial.en12420Area);
    auto* materialRow = new QHBoxLayout;
    materialRow->addWidget(namedLabel(group, "Label_12420", t.materialGroup));
    materialRow->addWidget(c12420);
    grid->addLayout(materialRow, kItemEn12420, 1);
    grid->addWidget(c12420a, kItemEn12420, 2);
    grid->addWidget(namedLabel(group, "Label_12420b", "A"), kItemEn12420, 3);
    grid->addWidget(c12420b, kItemEn12420, 4);
    layout->addWidget(group);

    const auto enableItem = [&dialog](int item) {
        for (const char* name : itemControls()) {
            if (auto* w = dialog.findChild<QWidget*>(QLatin1String(name))) w->setEnabled(false);
        }
        for (const char* name : controlsOfItem(item)) {
            if (auto* w = dialog.findChild<QWidget*>(QLatin1String(name))) w->setEnabled(true);
        }
    };
    QObject::connect(radios, &QButtonGroup::idClicked, &dialog, enableItem);
    radios->button(initial.item)->setChecked(true);
    enableItem(initial.item);

    QObject::connect(buttonMin, &QPushButton::clicked, &dialog, [&] {
        long double upper = 0;
        if (parseNumber(qtToOem(editMax->text()), upper)) editMin->setText(fromOem(autoNumber(-upper, {}, 6)));
    });
    std::optional<GeneralToleranceSetting> chosen;
    const auto takeChoice = [&] {
        GeneralToleranceChoice c;
        c.item = radios->checkedId();
        c.iso2768 = c2768->currentIndex();
        c.din16901Group = c16901->currentIndex();
        c.din16901Bound = c16901a->currentIndex();
        c.din6930Class = c6930->currentIndex();
        c.din6930Range = c6930a->currentIndex();
        c.en12420Group = c12420->currentIndex();
        c.en12420Bound = c12420a->currentIndex();
        c.en12420Area = c12420b->currentIndex();
        c.constantUpper = qtToOem(editMax->text());
        c.constantLower = qtToOem(editMin->text());
        chosen = settingFromChoice(c, setting);
        if (!chosen) {
            // A constant that does not read is said, not stored as 0.
            const auto fault = constantFault(c, texts);
            QLineEdit* bad = fault && !fault->upper ? editMin : editMax;
            if (environment.prompter && fault) environment.prompter->showError(fault->message);
            bad->setFocus();
            return;
        }
        if (const std::string warning = constantWarning(*chosen, texts); !warning.empty() && environment.prompter) {
            environment.prompter->showNote(warning);
        }
        dialog.accept();
    };
    layout->addLayout(
        buttonRow(dialog, environment.words, {.onOk = takeChoice, .helpContext = 1000, .help = environment.help}).layout);
    applyDialogLook(dialog, environment.look);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return chosen;
}

} // namespace zam1
