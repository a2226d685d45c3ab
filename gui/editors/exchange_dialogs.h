#pragma once
// The two windows of the spreadsheet exchange and the folder table: the preview
// of an element import (what changes, OK or Cancel) and the table of the
// projects of a folder (`TForm_preview`, grid `StringGrid1`). Both implement the
// ports the core's commands call, so the commands themselves stay GUI-free.

#include <functional>
#include <string>
#include <vector>

#include "core/app/spreadsheet_commands.h"
#include "core/app/table_commands.h"
#include "gui/editors/dialog_geometry.h"

class QWidget;

namespace zam1 {

struct LanguageTexts;

// Dialog `Form_importpreview`: a summary line, the grid `StringGrid_changes`
// (element, kind of change, changed columns, before, after), `Button_ok`, `Button_cancel`.
class QtImportPreview final : public ImportPreview {
public:
    QtImportPreview(QWidget* parent, DialogLook look, const LanguageTexts& texts, int language);
    bool confirmImport(const std::string& file, const ElementTableChanges& changes) override;

private:
    QWidget* m_parent;
    DialogLook m_look;
    const LanguageTexts& m_texts;
    int m_language;
};

// The folder table. `onProjectOpened` runs after a project was opened from it
// (the window shows its result and caption); `onHelp` gets the help number 3400.
class QtOverviewWindow final : public OverviewWindow {
public:
    QtOverviewWindow(QWidget* parent, DialogLook look, std::function<void()> onProjectOpened,
                     std::function<void(int)> onHelp = {});
    Action show(const std::string& caption, std::vector<OverviewRow>& rows, int& row) override;
    void projectOpened() override;

private:
    QWidget* m_parent;
    DialogLook m_look;
    std::function<void()> m_onProjectOpened;
    std::function<void(int)> m_onHelp;
};

} // namespace zam1
