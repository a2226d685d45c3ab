#pragma once
// Help numbers and where the manual explains them. Every dialog's help button
// asks for a number; the manual has one section per number, anchored "h" +
// number, on the page of the menu the dialog belongs to.

#include <span>
#include <string>

namespace zam1 {

struct HelpTopic {
    int number;
    const char* page; // file name inside the language folder, e.g. "edit.html"
};

// All numbers the program asks for, ascending.
std::span<const HelpTopic> helpTopics();

// The manual's folder for a configured language: 0 and 1 German, 3 French,
// 2 and every other language English.
std::string helpLanguageFolder(int language);

// The page and anchor of a help number relative to the manual folder
// ("de/edit.html#h9010"); an unknown number gives the language's index page.
std::string helpPage(int number, int language);

// The manual's folder, "share/zam1/manual" of the installation or the build tree
// (core/platform/install_paths.h); empty when there is none.
std::string manualFolder();

} // namespace zam1
