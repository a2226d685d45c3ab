#pragma once
// What the core asks of the desktop it runs on: show or print a text file, start
// a program, open a file in the browser, copy to the clipboard, show the graphics
// window. Programs are started with their arguments apart, never through a shell.

#include <string>
#include <string_view>
#include <vector>

namespace zam1 {

// How a report's text pages become PDF pages.
struct PageLayout {
    int linesPerPage = 66;  // a page of the text holds this many lines; the font is sized to fit
    std::string title;      // the document's title (UTF-8)
};

enum class PdfResult { Written, Failed, Unavailable };

class Desktop {
public:
    virtual ~Desktop() = default;
    virtual bool showTextFile(const std::string& path, std::string_view title) = 0;
    virtual bool printTextFile(const std::string& path) = 0;
    virtual bool startProgram(const std::string& program, const std::vector<std::string>& arguments) = 0;
    virtual bool openInBrowser(const std::string& path) = 0;
    virtual bool copyToClipboard(std::string_view text) = 0;
    virtual void showGraphicsWindow() = 0;
    // Lays out a report's text file (stored code page, pages ended by form-feed
    // lines) on PDF pages in a fixed-pitch font. Only a desktop with fonts can.
    virtual PdfResult writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) {
        (void)textFile;
        (void)pdfPath;
        (void)layout;
        return PdfResult::Unavailable;
    }
    // Long work tells how far it got ("file 3 of 120"); false when the user
    // asked to stop. Without a window there is nobody to ask.
    virtual bool showProgress(std::string_view text, long done, long total) {
        (void)text;
        (void)done;
        (void)total;
        return true;
    }
};

// The desktop of a run without a window (batch mode, tests): shows nothing and
// starts nothing, but keeps a log of what it was asked to do.
class HeadlessDesktop final : public Desktop {
public:
    bool showTextFile(const std::string& path, std::string_view title) override;
    bool printTextFile(const std::string& path) override;
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override;
    bool openInBrowser(const std::string& path) override;
    bool copyToClipboard(std::string_view text) override;
    void showGraphicsWindow() override;
    // Logged, and unavailable: there are no fonts to lay the pages out with.
    PdfResult writePdf(const std::string& textFile, const std::string& pdfPath, const PageLayout& layout) override;

    const std::vector<std::string>& log() const { return m_log; }

private:
    std::vector<std::string> m_log;
};

} // namespace zam1
