#include "components/ui/LumRegistryWidgets.h"

#include "components/ScreenPlacement.h"
#include "components/ui/MessageBoxes.h"

#include <QAction>
#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace LumRegistryWidgets
{

namespace
{

const QString Separator = QStringLiteral("-");
const QSize kSmallestRestoredSize(160, 120);

// Outer bounds of a window: its frame. While maximised or minimised, the bounds it returns to,
// so that un-maximising a restored window brings back the user's own size.
QRect outerBounds(const QWidget *form)
{
    const QRect frame = form->frameGeometry();
    if (!(form->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
        return frame;
    const QRect normal = form->normalGeometry();
    if (!normal.isValid())
        return frame;
    const QRect client = form->geometry();
    return normal.adjusted(frame.left() - client.left(), frame.top() - client.top(),
                           frame.right() - client.right(), frame.bottom() - client.bottom());
}

// Before a window is first shown its frame is unknown, so a stored outer size cannot yet be
// turned into the window's own size. This corrects the size once the frame is known, so the
// window does not grow by its frame at every start.
class OuterSizeOnShow : public QObject
{
public:
    OuterSizeOnShow(QWidget *form, QSize outer) : QObject(form), m_form(form), m_outer(outer)
    {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_form && event->type() == QEvent::Show) {
            m_form->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                const QSize frameExtra = m_form->frameGeometry().size() - m_form->size();
                if (!frameExtra.isEmpty() && !m_form->isMaximized() && !m_form->isMinimized())
                    m_form->resize(m_outer - frameExtra);
                deleteLater();
            });
        }
        return false;
    }

private:
    QWidget *m_form;
    QSize m_outer;
};

// The parts of the screens a window may take, without panels and docks.
QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    for (const QScreen *screen : QGuiApplication::screens())
        areas.append(screen->availableGeometry());
    return areas;
}

QScreen *screenOf(const QWidget *form)
{
    QScreen *screen = form->screen();
    return screen ? screen : QGuiApplication::primaryScreen();
}

} // namespace

TFormPlacement PlacementOf(const QWidget *form)
{
    const QRect bounds = outerBounds(form);
    QString state = QStringLiteral("wsNormal");
    if (form->isMinimized())
        state.clear();
    else if (form->isMaximized())
        state = QStringLiteral("wsMaximized");
    return {bounds.height(), bounds.x(), bounds.y(), bounds.width(), state};
}

void SetFormInfo(TLumRegistryEnhanced &store, const QString &AValue, const QWidget *AForm)
{
    store.SetFormInfo(AValue, PlacementOf(AForm));
}

void GetFormInfo(const TLumRegistryEnhanced &store, const QString &AValue, QWidget *AForm,
                 bool CenterDefault)
{
    TFormPlacement placement;
    const TLumRegistryEnhanced::TFormInfoResult result = store.GetFormInfo(AValue, placement);
    const QString position = AForm->property("Position").toString();
    if (result != TLumRegistryEnhanced::fiMissing && !position.isEmpty() &&
        position != QStringLiteral("poDesigned"))
        MessageBoxes::information(AForm,
                                  TLumRegistryEnhanced::PositionWarningText(
                                      QString::fromLatin1(AForm->metaObject()->className())));

    // The stored size is the outer one; the widget's own size leaves the frame out.
    const QSize frameExtra = AForm->frameGeometry().size() - AForm->size();
    if (result == TLumRegistryEnhanced::fiFound) {
        const Qt::WindowStates before = AForm->windowState();
        // A stored size too small to use (none, or negative) gives the smallest usable one.
        const QSize smallest = AForm->minimumSizeHint().expandedTo(kSmallestRestoredSize);
        const QRect outer = FitPlacementToScreens(placement, availableScreenAreas(), smallest);
        AForm->resize(outer.size() - frameExtra);
        AForm->move(outer.topLeft());
        if (!AForm->isVisible())
            new OuterSizeOnShow(AForm, outer.size());
        const Qt::WindowStates normal =
            AForm->windowState() &
            ~(Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen);
        if (placement.state == QStringLiteral("wsMaximized"))
            AForm->setWindowState(normal | Qt::WindowMaximized);
        else if (placement.state == QStringLiteral("wsNormal"))
            AForm->setWindowState(normal);
        else if (AForm->windowState() != before)
            AForm->setWindowState(before); // moving may have cleared it; any other state keeps it
        return;
    }
    if (result == TLumRegistryEnhanced::fiMissing && CenterDefault) {
        if (QScreen *screen = screenOf(AForm)) {
            const QRect area = screen->geometry();
            AForm->move(area.topLeft() + TLumRegistryEnhanced::CenteredPosition(
                                             area.size(), AForm->frameGeometry().size()));
        }
    }
}

void SetMenu(TLumRegistryEnhanced &store, const QString &ASubKey, const QMenu *AMenu)
{
    QStringList captions;
    for (const QAction *action : AMenu->actions())
        captions.append(action->isSeparator() ? Separator : action->text());
    store.SetMenu(ASubKey, captions);
}

QMenu *GetMenu(const TLumRegistryEnhanced &store, const QString &ASubKey, QMenu *AMenu,
               const std::function<void(QAction *)> &AMenuClick)
{
    QStringList captions;
    if (!store.GetMenu(ASubKey, captions))
        return AMenu;
    AMenu->clear();
    for (const QString &caption : std::as_const(captions)) {
        if (caption == Separator) {
            AMenu->addSeparator();
            continue;
        }
        QAction *action = AMenu->addAction(caption);
        if (AMenuClick)
            QObject::connect(action, &QAction::triggered, action,
                             [action, AMenuClick] { AMenuClick(action); });
    }
    return AMenu;
}

void SetCheckListBox(TLumRegistryEnhanced &store, const QString &ASubKey,
                     const QListWidget *ACheckListBox)
{
    QList<TCheckListItem> items;
    for (int i = 0; i < ACheckListBox->count(); ++i) {
        const QListWidgetItem *item = ACheckListBox->item(i);
        items.append({item->text(), item->checkState() == Qt::Checked});
    }
    store.SetCheckListBox(ASubKey, items);
}

QListWidget *GetCheckListBox(const TLumRegistryEnhanced &store, const QString &ASubKey,
                             QListWidget *ACheckListBox, bool CheckAllFirstTime)
{
    QList<TCheckListItem> items;
    if (store.GetCheckListBox(ASubKey, items, false)) {
        ACheckListBox->clear();
        for (const TCheckListItem &stored : std::as_const(items)) {
            auto *item = new QListWidgetItem(stored.text);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(stored.checked ? Qt::Checked : Qt::Unchecked);
            ACheckListBox->addItem(item);
        }
    } else if (CheckAllFirstTime) {
        for (int i = 0; i < ACheckListBox->count(); ++i)
            ACheckListBox->item(i)->setCheckState(Qt::Checked);
    }
    return ACheckListBox;
}

void SetFont(TLumRegistryEnhanced &store, const QString &AValue, const QFont &AFont,
             const QColor &colour)
{
    TFontInfo info;
    info.name = AFont.family();
    info.size = AFont.pointSize() > 0 ? AFont.pointSize() : qRound(AFont.pointSizeF());
    if (AFont.bold())
        info.styles.append(QStringLiteral("fsBold"));
    if (AFont.italic())
        info.styles.append(QStringLiteral("fsItalic"));
    if (AFont.underline())
        info.styles.append(QStringLiteral("fsUnderline"));
    if (AFont.strikeOut())
        info.styles.append(QStringLiteral("fsStrikeOut"));
    info.colour = colour.name();
    store.SetFont(AValue, info);
}

bool GetFont(const TLumRegistryEnhanced &store, const QString &AValue, QFont &AFont, QColor &colour)
{
    TFontInfo info;
    if (!store.GetFont(AValue, info))
        return false;
    AFont.setFamily(info.name);
    if (info.size > 0)
        AFont.setPointSize(info.size);
    AFont.setBold(info.styles.contains(QStringLiteral("fsBold")));
    AFont.setItalic(info.styles.contains(QStringLiteral("fsItalic")));
    AFont.setUnderline(info.styles.contains(QStringLiteral("fsUnderline")));
    AFont.setStrikeOut(info.styles.contains(QStringLiteral("fsStrikeOut")));
    const QColor stored = QColor::fromString(info.colour);
    if (stored.isValid())
        colour = stored;
    return true;
}

void SetListViewInfo(TLumRegistryEnhanced &store, const QString &AValue,
                     const QHeaderView *AListView)
{
    QList<int> widths;
    for (int i = 0; i < AListView->count(); ++i)
        widths.append(AListView->sectionSize(i));
    store.SetListViewInfo(AValue, widths);
}

bool GetListViewInfo(const TLumRegistryEnhanced &store, const QString &AValue,
                     QHeaderView *AListView)
{
    QList<int> widths;
    if (!store.GetListViewInfo(AValue, widths))
        return false;
    const int n = qMin(AListView->count(), int(widths.size()));
    for (int i = 0; i < n; ++i) {
        if (widths.at(i) >= 0)
            AListView->resizeSection(i, widths.at(i));
    }
    return true;
}

void SetComboBox(TLumRegistryEnhanced &store, const QString &ASubKey, const QComboBox *AComboBox,
                 bool ShowText)
{
    QStringList items;
    for (int i = 0; i < AComboBox->count(); ++i)
        items.append(AComboBox->itemText(i));
    store.SetComboBox(ASubKey, items, AComboBox->currentText(), ShowText);
}

bool GetComboBox(const TLumRegistryEnhanced &store, const QString &ASubKey, QComboBox *AComboBox,
                 bool ShowText)
{
    QStringList items;
    QString text;
    if (!store.GetComboBox(ASubKey, items, text, ShowText))
        return false;
    AComboBox->clear();
    AComboBox->addItems(items);
    if (ShowText) {
        if (AComboBox->isEditable())
            AComboBox->setEditText(text);
        else
            AComboBox->setCurrentIndex(AComboBox->findText(text));
    }
    return true;
}

} // namespace LumRegistryWidgets
