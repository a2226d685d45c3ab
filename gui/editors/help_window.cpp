#include "gui/editors/help_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "gui/editors/dialog_geometry.h"

namespace zam1 {
namespace {

const QString kWindowName = QStringLiteral("HelpWindow");

// The window's own captions, in the language of the manual it shows.
struct HelpCaptions {
    const char* title;
    const char* back;
    const char* forward;
    const char* home;
    const char* close;
};

HelpCaptions captionsFor(const std::string& folder) {
    if (folder == "de") return {"ZAM1 - Hilfe", "&Zurück", "&Vor", "&Inhalt", "&Schließen"};
    if (folder == "fr") return {"ZAM1 - Aide", "&Retour", "&Suivant", "&Sommaire", "&Fermer"};
    return {"ZAM1 - Help", "&Back", "&Forward", "&Contents", "&Close"};
}

QUrl manualUrl(const std::string& relative) {
    const std::size_t hash = relative.find('#');
    QUrl url = QUrl::fromLocalFile(QString::fromStdString(manualFolder() + "/" + relative.substr(0, hash)));
    if (hash != std::string::npos) url.setFragment(QString::fromStdString(relative.substr(hash + 1)));
    return url;
}

class HelpWindow final : public QWidget {
public:
    HelpWindow(QWidget* owner, int language)
        : QWidget(owner, Qt::Window), m_folder(helpLanguageFolder(language)), m_home(manualUrl(helpPage(0, language))) {
        setObjectName(kWindowName);
        setAttribute(Qt::WA_DeleteOnClose);
        const HelpCaptions captions = captionsFor(m_folder);
        setWindowTitle(QString::fromUtf8(captions.title));
        m_browser = new QTextBrowser(this);
        m_browser->setObjectName(QStringLiteral("HelpBrowser"));
        m_browser->setOpenExternalLinks(false);
        auto* row = new QHBoxLayout;
        QPushButton* back = button("Button_back", captions.back, row);
        QPushButton* forward = button("Button_forward", captions.forward, row);
        QPushButton* home = button("Button_home", captions.home, row);
        row->addStretch();
        QPushButton* close = button("Button_close", captions.close, row);
        back->setEnabled(false);
        forward->setEnabled(false);
        connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
        connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
        connect(home, &QPushButton::clicked, this, [this] { open(m_home); });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QWidget::setEnabled);
        connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QWidget::setEnabled);
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(row);
        layout->addWidget(m_browser);
        // The look would shrink the window to its buttons; a page wants room.
        applyDialogLook(*this, DialogLook{}, false);
        resize(QSize(760, 560).expandedTo(size()));
        if (owner) move(owner->frameGeometry().center() - QPoint(width() / 2, height() / 2));
    }

    const std::string& folder() const { return m_folder; }

    void open(const QUrl& page) {
        if (!QFileInfo::exists(page.toLocalFile())) {
            // Said in the window itself: a message box over the dialog would only repeat it.
            m_browser->setHtml(QStringLiteral("<p>Das Handbuch ist nicht installiert. / The manual is not installed.</p><p>") +
                               page.toLocalFile().toHtmlEscaped() + QStringLiteral("</p>"));
            return;
        }
        m_browser->setSource(page);
        // Asked again for the page already shown, the browser would stay where the user scrolled.
        if (page.hasFragment()) m_browser->scrollToAnchor(page.fragment());
    }

private:
    QPushButton* button(const char* name, const char* caption, QHBoxLayout* row) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        row->addWidget(b);
        return b;
    }

    std::string m_folder;
    QUrl m_home;
    QTextBrowser* m_browser = nullptr;
};

// The owner's help window, unless it shows the manual of another language.
HelpWindow* openWindowOf(QWidget* owner, int language) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* window = dynamic_cast<HelpWindow*>(w);
        if (!window || w->parentWidget() != owner) continue;
        if (window->folder() == helpLanguageFolder(language)) return window;
        window->close();
    }
    return nullptr;
}

} // namespace

void showHelp(QWidget* parent, int helpNumber, int language) {
    QWidget* owner = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : parent;
    HelpWindow* window = openWindowOf(owner, language);
    if (!window) window = new HelpWindow(owner, language);
    // Shown before the page is set, so the browser has its size when it scrolls to the anchor.
    window->show();
    window->raise();
    window->activateWindow();
    window->open(manualUrl(helpPage(helpNumber, language)));
}

} // namespace zam1
