#pragma once
// What the menu commands need of the window beyond the prompter and the desktop:
// the graphics window and the editors. The Qt window implements it; the headless
// tests give scripted stand-ins. Every editor returns true when it changed the
// project and sets the error flag when the user cancelled where its rules say so.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

class DocumentationDialogs;
class ExplanationView;
class GraphicsWindow;
class ImportPreview;
class OverviewWindow;

class Workbench {
public:
    virtual ~Workbench() = default;

    virtual GraphicsWindow& graphics() = 0;

    virtual bool editProjectText() = 0;
    virtual bool editElementTable() = 0;
    virtual bool editClosingDimensions() = 0;
    // The limits, distributions, samples and seed of the analysis; `closing`
    // (1-based) is the closing dimension whose histogram the user wants to see.
    virtual bool editMonteCarlo(int& closing) = 0;
    // The tolerance allocation of closing dimension `closing`; true when a
    // proposal was taken over into the chain.
    virtual bool allocateTolerances(int& closing) = 0;
    // The settings dialog; true when "zam1.cfg" was written.
    virtual bool editSettings() = 0;

    virtual DocumentationDialogs& documentationDialogs() = 0;
    virtual ExplanationView& explanationView() = 0;

    // The table of the data directory's projects; after a row's project became
    // the current one, the window shows its result.
    virtual OverviewWindow& overviewWindow() = 0;
    // The preview of an element table about to be imported from a spreadsheet file.
    virtual ImportPreview& importPreview() = 0;

    // Closes the main window; closing runs the close query and may be refused.
    virtual void closeWindow() = 0;

    // The print dialog for the last report or picture shown.
    virtual void printLastOutput() = 0;

    // The manual in the help window, at the section of `helpNumber` (0: its contents).
    virtual void showHelp(int helpNumber) = 0;

    // A modal window with fixed lines of text (UTF-8): about, history, help picture.
    virtual void showTextScreen(std::string_view title, const std::vector<std::string>& lines) = 0;
};

} // namespace zam1
