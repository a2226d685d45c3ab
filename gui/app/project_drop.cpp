#include "gui/app/project_drop.h"

#include <QApplication>
#include <QDialog>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace zam1 {

QString draggedProject(const QMimeData& data) {
    for (const QUrl& url : data.urls()) {
        if (url.isLocalFile() && url.toLocalFile().endsWith(QStringLiteral(".zm1"), Qt::CaseInsensitive)) {
            return url.toLocalFile();
        }
    }
    return {};
}

ProjectDrop::ProjectDrop(Open open, QObject* parent) : QObject(parent), m_open(std::move(open)) {
    qApp->installEventFilter(this);
}

ProjectDrop::~ProjectDrop() { qApp->removeEventFilter(this); }

bool ProjectDrop::eventFilter(QObject* watched, QEvent* event) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    switch (event->type()) {
    case QEvent::Show:
        // Windows come and go (the report window is made on first use); a dialog
        // is answered first and takes no project.
        if (widget->isWindow() && qobject_cast<QDialog*>(widget) == nullptr) widget->setAcceptDrops(true);
        return false;
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (qobject_cast<QDialog*>(widget->window()) != nullptr || draggedProject(*drag->mimeData()).isEmpty()) {
            return false;
        }
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString project = draggedProject(*drop->mimeData());
        if (qobject_cast<QDialog*>(widget->window()) != nullptr || project.isEmpty()) return false;
        drop->acceptProposedAction();
        QTimer::singleShot(0, this, [this, path = QFile::encodeName(project).toStdString()] { m_open(path); });
        return true;
    }
    default:
        return false;
    }
}

} // namespace zam1
