#include "gui/platform/qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zam1 {

QString qtLanguageCode(int language) {
    switch (language) {
    case 0:
    case 1: return QStringLiteral("de");
    case 3: return QStringLiteral("fr");
    case 4: return QStringLiteral("it");
    case 5: return QStringLiteral("sv");
    case 6: return QStringLiteral("pt_BR");
    case 8: return QStringLiteral("ko");
    case 9: return QStringLiteral("es");
    default: return {};
    }
}

QtTranslations::QtTranslations() = default;

QtTranslations::~QtTranslations() {
    if (m_translator) QCoreApplication::removeTranslator(m_translator.get());
}

bool QtTranslations::follow(int language) {
    if (language == m_language) return true;
    m_language = language;
    if (m_translator) {
        QCoreApplication::removeTranslator(m_translator.get());
        m_translator.reset();
    }
    const QString code = qtLanguageCode(language);
    if (code.isEmpty()) return true;
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    QCoreApplication::installTranslator(translator.get());
    m_translator = std::move(translator);
    return true;
}

} // namespace zam1
