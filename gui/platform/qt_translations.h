#pragma once
// Qt's own dialogs (file, print, message box buttons) in the program's
// language: the translation of Qt's texts is installed for the chosen
// language and replaced when it changes.

#include <QString>

#include <memory>

class QTranslator;

namespace zam1 {

// Qt's name for a language index of the program (0: never chosen, German);
// empty where Qt's texts stay as they are (English).
QString qtLanguageCode(int language);

class QtTranslations {
public:
    QtTranslations();
    ~QtTranslations();
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // Installs Qt's texts for the language unless they are installed already.
    // False when the language has a translation that could not be loaded.
    bool follow(int language);

private:
    std::unique_ptr<QTranslator> m_translator;
    int m_language = -1;
};

} // namespace zam1
