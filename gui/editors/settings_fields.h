#pragma once
// The fields of the settings dialog, made from the rows of "zam1.cfg" that have a
// place in it (config_rows.h): one widget per setting, each knowing how to show
// its setting and how to store it back. A field stores only when the user changed
// it, so a configuration goes back into "zam1.cfg" exactly as it came whenever
// nothing was touched.

#include <QString>
#include <QWidget>

#include <memory>
#include <vector>

#include "core/config/config_rows.h"

namespace zam1 {

class Prompter;

class SettingsField {
public:
    virtual ~SettingsField() = default;
    SettingsGroup group() const { return m_group; }
    SettingsTab tab() const { return settingsGroupTab(m_group); }
    const QString& label() const { return m_label; }
    // The editing widget, created for `parent`; its object name is the setting's key.
    virtual QWidget* create(QWidget* parent, Prompter* prompter) = 0;
    // Shows the setting and remembers what was shown.
    virtual void load(const Configuration& config) = 0;
    virtual bool changed() const = 0;
    // Stores the shown value; false for input that is not a valid value.
    virtual bool store(Configuration& config) const = 0;

protected:
    SettingsField(SettingsGroup group, QString label) : m_group(group), m_label(std::move(label)) {}

private:
    SettingsGroup m_group;
    QString m_label;
};

// Every setting of the configuration that a user sets, in the order of their
// groups (and so of their tabs), in file order within a group.
// Labels and choices in the configuration's language `language`.
std::vector<std::unique_ptr<SettingsField>> settingsFields(int language);

} // namespace zam1
