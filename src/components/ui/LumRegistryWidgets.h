#pragma once

#include "components/LumRegistryEnhanced.h"

#include <QString>

#include <functional>

class QAction;
class QColor;
class QComboBox;
class QFont;
class QHeaderView;
class QListWidget;
class QMenu;
class QWidget;

// The settings store's operations on widgets: each turns the widget into the plain data of
// TLumRegistryEnhanced and back.
namespace LumRegistryWidgets
{

// The placement of a window: outer size and position (the restored bounds while it is maximised
// or minimised) and its state.
TFormPlacement PlacementOf(const QWidget *form);

// Stores the window's placement under the value path.
void SetFormInfo(TLumRegistryEnhanced &store, const QString &AValue, const QWidget *AForm);
// Restores the window's placement; with nothing stored and CenterDefault, centres the window on
// its screen. A window whose dynamic property "Position" is set to anything but "poDesigned"
// first gets a warning that its position is not restored as designed.
void GetFormInfo(const TLumRegistryEnhanced &store, const QString &AValue, QWidget *AForm,
                 bool CenterDefault);

// Stores the captions of the menu's top-level entries ("-" for a separator).
void SetMenu(TLumRegistryEnhanced &store, const QString &ASubKey, const QMenu *AMenu);
// Rebuilds the menu from the stored captions, each new entry calling AMenuClick when triggered.
// With no stored list the menu is left as it is.
QMenu *GetMenu(const TLumRegistryEnhanced &store, const QString &ASubKey, QMenu *AMenu,
               const std::function<void(QAction *)> &AMenuClick);

// Stores every item of a list of checkable items with its check state.
void SetCheckListBox(TLumRegistryEnhanced &store, const QString &ASubKey,
                     const QListWidget *ACheckListBox);
// Replaces the items by the stored ones; with nothing stored checks every item when
// CheckAllFirstTime is true. A list that sorts itself keeps its own order.
QListWidget *GetCheckListBox(const TLumRegistryEnhanced &store, const QString &ASubKey,
                             QListWidget *ACheckListBox, bool CheckAllFirstTime);

void SetFont(TLumRegistryEnhanced &store, const QString &AValue, const QFont &AFont,
             const QColor &colour);
bool GetFont(const TLumRegistryEnhanced &store, const QString &AValue, QFont &AFont,
             QColor &colour);

// Column widths of a report list, by its header.
void SetListViewInfo(TLumRegistryEnhanced &store, const QString &AValue,
                     const QHeaderView *AListView);
bool GetListViewInfo(const TLumRegistryEnhanced &store, const QString &AValue,
                     QHeaderView *AListView);

void SetComboBox(TLumRegistryEnhanced &store, const QString &ASubKey, const QComboBox *AComboBox,
                 bool ShowText);
bool GetComboBox(const TLumRegistryEnhanced &store, const QString &ASubKey, QComboBox *AComboBox,
                 bool ShowText);

} // namespace LumRegistryWidgets
