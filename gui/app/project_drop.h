#pragma once
// Project files dragged from a file manager onto any window of the program open
// as a recent file does (close query first). Installed once on the application:
// every main, graphics and report window takes such drops; dialogs do not.

#include <QObject>
#include <QString>

#include <functional>
#include <string>

class QMimeData;

namespace zam1 {

// The project a drag carries: its first local file named "*.zm1" (any case),
// empty when it carries none.
QString draggedProject(const QMimeData& data);

class ProjectDrop final : public QObject {
public:
    using Open = std::function<void(const std::string& path)>;
    // `open` runs after the drop has ended, so that its dialogs do not hold the drag.
    ProjectDrop(Open open, QObject* parent);
    ~ProjectDrop() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Open m_open;
};

} // namespace zam1
