#pragma once
// The desktop of the window: the report window, printing through the print
// dialog, programs started without a shell, the browser, the clipboard and the
// graphics window.

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

#include "core/platform/desktop.h"

namespace zam1 {

class ReportWindow;

class QtDesktop final : public Desktop {
public:
    // `graphicsWindow` is shown on request; `parent` owns the report window.
    QtDesktop(QWidget* parent, QWidget* graphicsWindow);
    ~QtDesktop() override;

    void setReportGeometry(const std::array<int, 4>& geometry) { m_reportGeometry = geometry; }
    ReportWindow* reportWindow() const;

    bool showTextFile(const std::string& path, std::string_view title) override;
    bool printTextFile(const std::string& path) override;
    bool startProgram(const std::string& program, const std::vector<std::string>& arguments) override;
    bool openInBrowser(const std::string& path) override;
    bool copyToClipboard(std::string_view text) override;
    void showGraphicsWindow() override;

    // The print dialog for a text (the report window's print button); false when cancelled.
    bool printText(const QString& text);
    // The print dialog for what was shown last: the report window's text or the
    // graphics window's picture. False when there is none or it was cancelled.
    bool printLastOutput();

private:
    QPointer<QWidget> m_parent;
    QPointer<QWidget> m_graphics;
    QPointer<ReportWindow> m_report;
    std::array<int, 4> m_reportGeometry{10, 40, 700, 440};
    enum class Shown { Nothing, Report, Picture };
    Shown m_lastShown = Shown::Nothing;
};

} // namespace zam1
