#pragma once

#include "editing/Properties.h"
#include "editing/WebLinks.h"
#include "model/LogTable.h"

#include <QObject>
#include <functional>

class QAction;
class QDialog;
class QMenu;
class QUrl;
class TForm1;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
struct ReferenceFiles;

// The record commands of the four tables: properties, add and modify, derive, delete, clear,
// swap, locate and the web links. It creates the flight, airline, airport and distance dialogs
// once, registers the commands with the main window (context menus, double-click, Enter, the
// Delete key, the toolbar's and Tools' "Add") and runs each command over the editing
// operations, refreshing the status bar afterwards. The main window owns it (and the dialogs),
// so the registered commands live exactly as long as the window.
class RecordCommands : public QObject
{
    Q_OBJECT

public:
    explicit RecordCommands(TForm1 &form);

    TForm3 *Form3 = nullptr;
    TForm4 *Form4 = nullptr;
    TForm5 *Form5 = nullptr;
    TForm6 *Form6 = nullptr;

    // The Flights context menu's "Locate" submenu and its items.
    QMenu *LocateMenu = nullptr;
    QMenu *Airport1 = nullptr; // "Airport", with "From" and "To"
    QAction *Airline2 = nullptr;
    QAction *From1 = nullptr;
    QAction *To1 = nullptr;
    QAction *Distance2 = nullptr;
    // The web-link items of the Airlines, Airports and Distances context menus.
    QAction *AirlineInformation1 = nullptr;
    QAction *AirportInformation1 = nullptr;
    QAction *DistanceCalculator1 = nullptr;

    // How a dialog is shown modally: by default it runs until OK or Cancel closes it; tests put
    // a function here that works the dialog and returns its result.
    using ModalRunner = std::function<int(QDialog &)>;
    void setModalRunner(ModalRunner runner);
    // How a web address is opened: by default the desktop's browser; the result is ignored.
    using UrlOpener = std::function<void(const QUrl &)>;
    void setUrlOpener(UrlOpener opener);

    // --- Flights ---
    void Properties1Click();
    void Add1Click();
    void Derive1Click();
    void Delete1Click();
    void Clear1Click();
    void Airline2Click();
    void From1Click();
    void To1Click();
    void Distance2Click();
    // --- Airlines ---
    void Properties2Click();
    void Add2Click();
    void Delete2Click();
    void Clear2Click();
    void AirlineInformation1Click();
    // --- Airports ---
    void Properties3Click();
    void Add3Click();
    void Delete3Click();
    void Clear3Click();
    void AirportInformation1Click();
    // --- Distances ---
    void Properties4Click();
    void Add4Click();
    void Delete4Click();
    void Clear4Click();
    void Swap4Click();
    void DistanceCalculator1Click();

private:
    void createMenuItems();
    void registerCommands();
    int showModal(QDialog &dialog);
    // The selected row when exactly one row of the table is selected, otherwise -1.
    int singleSelectedRow(TableKind kind) const;
    int firstSelectedRow(TableKind kind) const;
    ReferenceFiles referenceFiles() const;
    void deleteSelected(TableKind kind);
    void clearTable(TableKind kind);
    void locate(LocateTarget target);
    void openWebLink(WebLinkKind kind, TableKind table);

    TForm1 &m_form;
    ModalRunner m_modalRunner;
    UrlOpener m_urlOpener;
};
