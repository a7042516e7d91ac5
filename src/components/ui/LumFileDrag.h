#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>

class QWidget;

// Accepts files dropped on its owner window from the desktop's file manager. Only local files
// count; they are kept in the order the drop delivers them. OnDrop runs after Files and
// FileCount are filled, with the drop point in the owner's client coordinates.
class TLumFileDrag : public QObject
{
    Q_OBJECT

public:
    using TDropEvent = std::function<void(QObject *Sender, int X, int Y)>;

    // Attaches itself to the owner window; an owner that is not a window leaves it disabled.
    explicit TLumFileDrag(QObject *owner);
    // Detaches from the owner, which then no longer accepts drops.
    ~TLumFileDrag() override;

    bool Enabled() const { return m_enabled; }
    void setEnabled(bool value);
    const QStringList &Files() const { return m_files; }
    QStringList &Files() { return m_files; }
    int FileCount() const { return int(m_files.size()); }
    TDropEvent OnDrop;

    // The local files of a drop's URLs, in order; references that are not local files are left
    // out.
    static QStringList LocalFiles(const QList<QUrl> &urls);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QWidget> m_owner;
    bool m_enabled = false;
    QStringList m_files;
};
