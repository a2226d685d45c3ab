#pragma once
// The window's editors and dialogs behind the workbench: each opens over the
// main window, works on the program's state and reports whether the project changed.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

class DocumentationDialogs;
class ExplanationView;
class ImportPreview;
class OverviewWindow;
class Thh;

class WindowDialogs {
public:
    explicit WindowDialogs(Thh& window);
    ~WindowDialogs();

    bool editProjectText();
    bool editElementTable();
    bool editClosingDimensions();
    bool editMonteCarlo(int& closing);
    bool allocateTolerances(int& closing);
    bool editSettings();
    DocumentationDialogs& documentation();
    ExplanationView& explanation();
    OverviewWindow& overview();
    ImportPreview& importPreview();
    void showTextScreen(std::string_view title, const std::vector<std::string>& lines);

private:
    Thh& m_window;
    std::unique_ptr<DocumentationDialogs> m_documentation;
    std::unique_ptr<ExplanationView> m_explanation;
    std::unique_ptr<OverviewWindow> m_overview;
    std::unique_ptr<ImportPreview> m_importPreview;
};

} // namespace zam1
