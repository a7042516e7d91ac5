#include "components/ui/LumFileDrag.h"

#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

TLumFileDrag::TLumFileDrag(QObject *owner) : QObject(owner), m_owner(qobject_cast<QWidget *>(owner))
{
    if (!m_owner)
        return;
    m_owner->installEventFilter(this);
    setEnabled(true);
}

TLumFileDrag::~TLumFileDrag()
{
    if (!m_owner)
        return;
    m_owner->removeEventFilter(this);
    // Destroyed as the owner's child, the owner is going away itself: leave its state alone.
    if (parent() != m_owner.data())
        m_owner->setAcceptDrops(false);
}

void TLumFileDrag::setEnabled(bool value)
{
    m_enabled = value && m_owner;
    if (m_owner)
        m_owner->setAcceptDrops(m_enabled);
}

QStringList TLumFileDrag::LocalFiles(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls) {
        if (url.isLocalFile() && !url.toLocalFile().isEmpty())
            files.append(url.toLocalFile());
    }
    return files;
}

bool TLumFileDrag::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_owner || !m_enabled)
        return QObject::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        const QMimeData *data = drag->mimeData();
        if (data && data->hasUrls() && !LocalFiles(data->urls()).isEmpty()) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QMimeData *data = drop->mimeData();
        if (!data || !data->hasUrls())
            return false;
        m_files = LocalFiles(data->urls());
        drop->acceptProposedAction();
        const QPoint at = drop->position().toPoint();
        if (OnDrop)
            OnDrop(this, at.x(), at.y());
        return true;
    }
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
