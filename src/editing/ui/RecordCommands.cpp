#include "editing/ui/RecordCommands.h"

#include "app/WingbookUnit1.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "editing/FlightEditing.h"
#include "editing/ReferenceEditing.h"
#include "editing/ReferenceFilling.h"
#include "editing/RowRemoval.h"
#include "editing/ui/WingbookUnit3.h"
#include "editing/ui/WingbookUnit4.h"
#include "editing/ui/WingbookUnit5.h"
#include "editing/ui/WingbookUnit6.h"
#include "model/LogDocument.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

RecordCommands::RecordCommands(TForm1 &form) : QObject(&form), m_form(form)
{
    // Parented to the main window: centred on it, and released with it.
    Form3 = new TForm3(&form);
    Form4 = new TForm4(&form);
    Form5 = new TForm5(&form);
    Form6 = new TForm6(&form);
    m_modalRunner = [](QDialog &dialog) { return dialog.exec(); };
    m_urlOpener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    createMenuItems();
    registerCommands();
}

void RecordCommands::setModalRunner(ModalRunner runner)
{
    m_modalRunner = std::move(runner);
}

void RecordCommands::setUrlOpener(UrlOpener opener)
{
    m_urlOpener = std::move(opener);
}

void RecordCommands::createMenuItems()
{
    LocateMenu = new QMenu(QStringLiteral("Locate"), &m_form);
    Airline2 =
        LocateMenu->addAction(QStringLiteral("Airline"), this, &RecordCommands::Airline2Click);
    Airport1 = LocateMenu->addMenu(QStringLiteral("Airport"));
    From1 = Airport1->addAction(QStringLiteral("From"), this, &RecordCommands::From1Click);
    To1 = Airport1->addAction(QStringLiteral("To"), this, &RecordCommands::To1Click);
    Distance2 =
        LocateMenu->addAction(QStringLiteral("Distance"), this, &RecordCommands::Distance2Click);

    AirlineInformation1 = new QAction(QStringLiteral("Airline Information"), this);
    connect(AirlineInformation1, &QAction::triggered, this,
            &RecordCommands::AirlineInformation1Click);
    AirportInformation1 = new QAction(QStringLiteral("Airport Information"), this);
    connect(AirportInformation1, &QAction::triggered, this,
            &RecordCommands::AirportInformation1Click);
    DistanceCalculator1 = new QAction(QStringLiteral("Distance Calculator"), this);
    connect(DistanceCalculator1, &QAction::triggered, this,
            &RecordCommands::DistanceCalculator1Click);
}

void RecordCommands::registerCommands()
{
    TableCommandSet flights;
    flights.Properties = [this] { Properties1Click(); };
    flights.Add = [this] { Add1Click(); };
    flights.Delete = [this] { Delete1Click(); };
    flights.Clear = [this] { Clear1Click(); };
    flights.Derive = [this] { Derive1Click(); };
    flights.ExtraItem = LocateMenu->menuAction();
    flights.ExtraItemNeedsOneRow = true;
    m_form.setTableCommands(TableKind::Flights, flights);

    TableCommandSet airlines;
    airlines.Properties = [this] { Properties2Click(); };
    airlines.Add = [this] { Add2Click(); };
    airlines.Delete = [this] { Delete2Click(); };
    airlines.Clear = [this] { Clear2Click(); };
    airlines.ExtraItem = AirlineInformation1;
    m_form.setTableCommands(TableKind::Airlines, airlines);

    TableCommandSet airports;
    airports.Properties = [this] { Properties3Click(); };
    airports.Add = [this] { Add3Click(); };
    airports.Delete = [this] { Delete3Click(); };
    airports.Clear = [this] { Clear3Click(); };
    airports.ExtraItem = AirportInformation1;
    m_form.setTableCommands(TableKind::Airports, airports);

    TableCommandSet distances;
    distances.Properties = [this] { Properties4Click(); };
    distances.Add = [this] { Add4Click(); };
    distances.Delete = [this] { Delete4Click(); };
    distances.Clear = [this] { Clear4Click(); };
    distances.Swap = [this] { Swap4Click(); };
    distances.ExtraItem = DistanceCalculator1;
    m_form.setTableCommands(TableKind::Distances, distances);
}

int RecordCommands::showModal(QDialog &dialog)
{
    return m_modalRunner(dialog);
}

int RecordCommands::singleSelectedRow(TableKind kind) const
{
    const TLumListView *view = m_form.listView(kind);
    return view->selectedCount() == 1 ? view->firstSelectedRow() : -1;
}

int RecordCommands::firstSelectedRow(TableKind kind) const
{
    return m_form.listView(kind)->firstSelectedRow();
}

ReferenceFiles RecordCommands::referenceFiles() const
{
    return {*m_form.AirlinesLumFlatFile, *m_form.AirportsLumFlatFile};
}

// --- Flights ---

void RecordCommands::Properties1Click()
{
    const int row = firstSelectedRow(TableKind::Flights);
    if (row < 0)
        return;
    LogDocument &document = m_form.Document();
    const FlightCodeLists lists = FlightDialogLists(document);
    FlightFields fields;
    const QString problem = FlightFieldsFromRow(document, row, lists, fields);
    if (!problem.isEmpty()) {
        MessageBoxes::error(&m_form, problem);
        return;
    }
    Form3->OnSubmit = nullptr;
    Form3->Setup(FlightDialogMode::Properties, lists, fields,
                 FlightDistanceLabel(document, fields.from, fields.to));
    showModal(*Form3);
}

void RecordCommands::Add1Click()
{
    // The Flights list's selection counts whichever page is shown.
    const int row = singleSelectedRow(TableKind::Flights);
    const FlightDialogMode mode = row >= 0 ? FlightDialogMode::Modify : FlightDialogMode::Add;
    LogDocument &document = m_form.Document();
    const FlightCodeLists lists = FlightDialogLists(document);
    FlightFields fields;
    if (mode == FlightDialogMode::Modify) {
        const QString problem = FlightFieldsFromRow(document, row, lists, fields);
        if (!problem.isEmpty()) {
            MessageBoxes::error(&m_form, problem);
            return;
        }
    } else {
        fields = NewFlightFields(document, lists);
    }
    Form3->Setup(mode, lists, fields);
    Form3->OnSubmit = [this, mode, row](const FlightFields &entered) {
        return SubmitFlight(m_form.Document(), mode, row, entered, referenceFiles(),
                            m_form.options());
    };
    showModal(*Form3);
    Form3->OnSubmit = nullptr;
    m_form.UpdateStatusBar();
}

void RecordCommands::Derive1Click()
{
    const int row = firstSelectedRow(TableKind::Flights);
    if (row < 0)
        return;
    LogDocument &document = m_form.Document();
    const FlightCodeLists lists = FlightDialogLists(document);
    FlightFields fields;
    const QString problem = FlightFieldsFromRow(document, row, lists, fields);
    if (!problem.isEmpty()) {
        MessageBoxes::error(&m_form, problem);
        return;
    }
    Form3->Setup(FlightDialogMode::Derive, lists, fields);
    Form3->OnSubmit = [this, row](const FlightFields &entered) {
        return SubmitFlight(m_form.Document(), FlightDialogMode::Derive, row, entered,
                            referenceFiles(), m_form.options());
    };
    showModal(*Form3);
    Form3->OnSubmit = nullptr;
    m_form.UpdateStatusBar();
}

void RecordCommands::Delete1Click()
{
    deleteSelected(TableKind::Flights);
}

void RecordCommands::Clear1Click()
{
    clearTable(TableKind::Flights);
}

void RecordCommands::Airline2Click()
{
    locate(LocateTarget::Airline);
}

void RecordCommands::From1Click()
{
    locate(LocateTarget::From);
}

void RecordCommands::To1Click()
{
    locate(LocateTarget::To);
}

void RecordCommands::Distance2Click()
{
    locate(LocateTarget::Distance);
}

void RecordCommands::locate(LocateTarget target)
{
    const LocateResult result =
        LocateFromFlight(m_form.Document(), firstSelectedRow(TableKind::Flights), target);
    if (!result.error.isEmpty()) {
        MessageBoxes::error(&m_form, result.error);
        return;
    }
    if (result.row < 0)
        return;
    m_form.setActiveTable(result.table);
    m_form.listView(result.table)->selectOnly(result.row);
    m_form.UpdateStatusBar();
}

// --- Airlines ---

void RecordCommands::Properties2Click()
{
    const int row = firstSelectedRow(TableKind::Airlines);
    if (row < 0)
        return;
    const LogDocument &document = m_form.Document();
    Form4->OnSubmit = nullptr;
    Form4->Setup(RecordDialogMode::Properties, AirlineFieldsFromRow(document, row),
                 ReferenceCountLabel(document, TableKind::Airlines, row));
    showModal(*Form4);
}

void RecordCommands::Add2Click()
{
    const int row = singleSelectedRow(TableKind::Airlines);
    const RecordDialogMode mode = row >= 0 ? RecordDialogMode::Modify : RecordDialogMode::Add;
    const AirlineFields fields =
        row >= 0 ? AirlineFieldsFromRow(m_form.Document(), row) : AirlineFields{};
    Form4->Setup(mode, fields);
    Form4->OnSubmit = [this, mode, row](const AirlineFields &entered) {
        return SubmitAirline(m_form.Document(), mode, row, entered, m_form.options());
    };
    showModal(*Form4);
    Form4->OnSubmit = nullptr;
    m_form.UpdateStatusBar();
}

void RecordCommands::Delete2Click()
{
    deleteSelected(TableKind::Airlines);
}

void RecordCommands::Clear2Click()
{
    clearTable(TableKind::Airlines);
}

void RecordCommands::AirlineInformation1Click()
{
    openWebLink(WebLinkKind::AirlineInformation, TableKind::Airlines);
}

// --- Airports ---

void RecordCommands::Properties3Click()
{
    const int row = firstSelectedRow(TableKind::Airports);
    if (row < 0)
        return;
    const LogDocument &document = m_form.Document();
    const QStringList countries = m_form.options().CheckedCountries();
    Form5->OnSubmit = nullptr;
    Form5->Setup(RecordDialogMode::Properties, countries,
                 AirportFieldsFromRow(document, row, countries),
                 ReferenceCountLabel(document, TableKind::Airports, row));
    showModal(*Form5);
}

void RecordCommands::Add3Click()
{
    const int row = singleSelectedRow(TableKind::Airports);
    const RecordDialogMode mode = row >= 0 ? RecordDialogMode::Modify : RecordDialogMode::Add;
    const LogDocument &document = m_form.Document();
    const QStringList countries = m_form.options().CheckedCountries();
    const AirportFields fields = row >= 0 ? AirportFieldsFromRow(document, row, countries)
                                          : NewAirportFields(document, countries);
    Form5->Setup(mode, countries, fields);
    Form5->OnSubmit = [this, mode, row](const AirportFields &entered) {
        return SubmitAirport(m_form.Document(), mode, row, entered, m_form.options());
    };
    showModal(*Form5);
    Form5->OnSubmit = nullptr;
    m_form.UpdateStatusBar();
}

void RecordCommands::Delete3Click()
{
    deleteSelected(TableKind::Airports);
}

void RecordCommands::Clear3Click()
{
    clearTable(TableKind::Airports);
}

void RecordCommands::AirportInformation1Click()
{
    openWebLink(WebLinkKind::AirportInformation, TableKind::Airports);
}

// --- Distances ---

void RecordCommands::Properties4Click()
{
    const int row = firstSelectedRow(TableKind::Distances);
    if (row < 0)
        return;
    const LogDocument &document = m_form.Document();
    const QStringList airports = DistanceDialogAirports(document);
    DistanceFields fields;
    const QString problem = DistanceFieldsFromRow(document, row, airports, fields);
    if (!problem.isEmpty()) {
        MessageBoxes::error(&m_form, problem);
        return;
    }
    Form6->OnSubmit = nullptr;
    Form6->Setup(RecordDialogMode::Properties, airports, fields,
                 ReferenceCountLabel(document, TableKind::Distances, row));
    showModal(*Form6);
}

void RecordCommands::Add4Click()
{
    const int row = singleSelectedRow(TableKind::Distances);
    const RecordDialogMode mode = row >= 0 ? RecordDialogMode::Modify : RecordDialogMode::Add;
    LogDocument &document = m_form.Document();
    const QStringList airports = DistanceDialogAirports(document);
    DistanceFields fields;
    if (mode == RecordDialogMode::Modify) {
        const QString problem = DistanceFieldsFromRow(document, row, airports, fields);
        if (!problem.isEmpty()) {
            MessageBoxes::error(&m_form, problem);
            return;
        }
    } else {
        fields = NewDistanceFields(airports);
    }
    Form6->Setup(mode, airports, fields);
    Form6->OnSubmit = [this, mode, row](const DistanceFields &entered) {
        return SubmitDistance(m_form.Document(), mode, row, entered, m_form.options());
    };
    const int result = showModal(*Form6);
    Form6->OnSubmit = nullptr;
    // Cancel puts the Distances table in order as OK does.
    if (result != QDialog::Accepted)
        CancelDistanceDialog(document, m_form.options());
    m_form.UpdateStatusBar();
}

void RecordCommands::Delete4Click()
{
    deleteSelected(TableKind::Distances);
}

void RecordCommands::Clear4Click()
{
    clearTable(TableKind::Distances);
}

void RecordCommands::Swap4Click()
{
    SwapDistances(m_form.Document(), m_form.listView(TableKind::Distances)->selectedRows());
    m_form.UpdateStatusBar();
}

void RecordCommands::DistanceCalculator1Click()
{
    openWebLink(WebLinkKind::DistanceCalculator, TableKind::Distances);
}

// --- shared ---

void RecordCommands::deleteSelected(TableKind kind)
{
    DeleteRows(m_form.Document(), kind, m_form.listView(kind)->selectedRows());
    m_form.UpdateStatusBar();
}

void RecordCommands::clearTable(TableKind kind)
{
    ClearTable(m_form.Document(), kind);
    m_form.UpdateStatusBar();
}

void RecordCommands::openWebLink(WebLinkKind kind, TableKind table)
{
    const QString address =
        WebLinkAddress(m_form.Document(), kind, firstSelectedRow(table), m_form.options());
    // Any other option index chooses no site.
    if (!address.isEmpty())
        m_urlOpener(QUrl(address));
}
