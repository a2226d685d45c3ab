#pragma once
// The report text window of the screen device: the report file (CP850) shown in
// a fixed-pitch font. It reads the whole file when it is given one, because the
// core deletes the temporary file right after. Copy puts the text on the
// clipboard; printing is the desktop's (the print dialog belongs there).

#include <QFont>
#include <QPlainTextEdit>
#include <QWidget>

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace zam1 {

// The fixed-pitch font of reports on screen and on paper: they are laid out in columns of characters.
QFont reportFont();

// A CP850 report file as the screen shows it: Unicode, without CR and form feeds.
// Nothing when the file cannot be read.
std::optional<QString> reportTextForDisplay(const std::string& path);

class ReportWindow final : public QWidget {
    Q_OBJECT

public:
    using PrintText = std::function<void(const QString& text)>;

    explicit ReportWindow(PrintText print, QWidget* parent = nullptr);

    // Reads `path` (CP850) now and shows it under `title` (CP850). False when the
    // file cannot be read; the window then keeps what it showed.
    bool showFile(const std::string& path, std::string_view title);
    // The configured geometry: left, top, width, height in pixels.
    void applyGeometry(const std::array<int, 4>& geometry);
    QString text() const { return m_view->toPlainText(); }
    void copyAll();

private:
    QPlainTextEdit* m_view;
    PrintText m_print;
};

} // namespace zam1
