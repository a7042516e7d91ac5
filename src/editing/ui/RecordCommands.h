#pragma once

#include "editing/EditingModes.h"
#include "editing/Properties.h"
#include "editing/WebLinks.h"
#include "editing/ui/RecordCommandHost.h"
#include "model/LogTable.h"

#include <QDialog>
#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QUrl;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
struct ReferenceFiles;

// The record commands of the four tables: properties, add and modify, derive, delete, clear,
// swap, locate and the web links. It creates the flight, airline, airport and distance dialogs
// once, gives each command of the tables' context menus its handler (kBindings in the .cpp
// lists them) and runs each command over the editing operations, refreshing the window
// afterwards. The window owns it (and the dialogs), so the handlers live exactly as long as
// the window.
class RecordCommands : public QObject
{
    Q_OBJECT

public:
    RecordCommands(RecordCommandHost &host, QObject *parent);

    TForm3 *Form3 = nullptr;
    TForm4 *Form4 = nullptr;
    TForm5 *Form5 = nullptr;
    TForm6 *Form6 = nullptr;

    // The items of the Flights context menu's "Locate" submenu.
    QAction *Airline2 = nullptr;
    QMenu *Airport1 = nullptr; // "Airport", with "From" and "To"
    QAction *From1 = nullptr;
    QAction *To1 = nullptr;
    QAction *Distance2 = nullptr;

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
    void bindCommands();
    void createLocateMenu();

    // The modal cycle of a record dialog that its command has set up: OK runs `submit`, which
    // stores the fields or returns the failing check's message; a null submit shows the record
    // read-only (Properties). Afterwards the submit rule is taken away, `onCancel` runs when
    // the dialog was not confirmed, and the window is refreshed. Returns the dialog's result.
    template <typename Dialog>
    int runRecordDialog(Dialog &dialog, decltype(Dialog::OnSubmit) submit,
                        const std::function<void()> &onCancel = {});

    // The selected row when exactly one row of the table is selected, otherwise -1.
    int singleSelectedRow(TableKind kind) const;
    int firstSelectedRow(TableKind kind) const;
    ReferenceFiles referenceFiles() const;
    // True when a stored row could be put into its dialog's fields; otherwise the problem is
    // shown and the command stops.
    bool readable(const QString &problem);
    // The flight dialog in a mode, on the row it shows (-1 to add).
    void runFlightDialog(FlightDialogMode mode, int row);
    void deleteSelected(TableKind kind);
    void clearTable(TableKind kind);
    void locate(LocateTarget target);
    void openWebLink(WebLinkKind kind, TableKind table);

    RecordCommandHost &m_host;
    ModalRunner m_modalRunner;
    UrlOpener m_urlOpener;
};
