#include "editing/ui/RecordCommands.h"

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
#include "options/WingbookOptions.h"

#include <QAction>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>

namespace
{

// The handler of each record command of each table.
struct Binding {
    TableKind table;
    RecordCommand command;
    void (RecordCommands::*handler)();
};

constexpr Binding kBindings[] = {
    {TableKind::Flights, RecordCommand::Properties, &RecordCommands::Properties1Click},
    {TableKind::Flights, RecordCommand::Clear, &RecordCommands::Clear1Click},
    {TableKind::Flights, RecordCommand::Add, &RecordCommands::Add1Click},
    {TableKind::Flights, RecordCommand::Delete, &RecordCommands::Delete1Click},
    {TableKind::Flights, RecordCommand::Derive, &RecordCommands::Derive1Click},

    {TableKind::Airlines, RecordCommand::Properties, &RecordCommands::Properties2Click},
    {TableKind::Airlines, RecordCommand::Clear, &RecordCommands::Clear2Click},
    {TableKind::Airlines, RecordCommand::AirlineInformation,
     &RecordCommands::AirlineInformation1Click},
    {TableKind::Airlines, RecordCommand::Add, &RecordCommands::Add2Click},
    {TableKind::Airlines, RecordCommand::Delete, &RecordCommands::Delete2Click},

    {TableKind::Airports, RecordCommand::Properties, &RecordCommands::Properties3Click},
    {TableKind::Airports, RecordCommand::Clear, &RecordCommands::Clear3Click},
    {TableKind::Airports, RecordCommand::AirportInformation,
     &RecordCommands::AirportInformation1Click},
    {TableKind::Airports, RecordCommand::Add, &RecordCommands::Add3Click},
    {TableKind::Airports, RecordCommand::Delete, &RecordCommands::Delete3Click},

    {TableKind::Distances, RecordCommand::Properties, &RecordCommands::Properties4Click},
    {TableKind::Distances, RecordCommand::Clear, &RecordCommands::Clear4Click},
    {TableKind::Distances, RecordCommand::DistanceCalculator,
     &RecordCommands::DistanceCalculator1Click},
    {TableKind::Distances, RecordCommand::Add, &RecordCommands::Add4Click},
    {TableKind::Distances, RecordCommand::Delete, &RecordCommands::Delete4Click},
    {TableKind::Distances, RecordCommand::Swap, &RecordCommands::Swap4Click},
};

} // namespace

RecordCommands::RecordCommands(RecordCommandHost &host, QObject *parent)
    : QObject(parent), m_host(host)
{
    // Parented to the window: centred on it, and released with it.
    Form3 = new TForm3(host.hostWindow());
    Form4 = new TForm4(host.hostWindow());
    Form5 = new TForm5(host.hostWindow());
    Form6 = new TForm6(host.hostWindow());
    m_modalRunner = [](QDialog &dialog) { return dialog.exec(); };
    m_urlOpener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    createLocateMenu();
    bindCommands();
}

void RecordCommands::setModalRunner(ModalRunner runner)
{
    m_modalRunner = std::move(runner);
}

void RecordCommands::setUrlOpener(UrlOpener opener)
{
    m_urlOpener = std::move(opener);
}

void RecordCommands::bindCommands()
{
    for (const Binding &binding : kBindings)
        m_host.setRecordCommand(binding.table, binding.command,
                                std::bind_front(binding.handler, this));
}

void RecordCommands::createLocateMenu()
{
    QMenu *locate = m_host.recordSubmenu(TableKind::Flights, RecordCommand::Locate);
    Airline2 = locate->addAction(QStringLiteral("Airline"), this, &RecordCommands::Airline2Click);
    Airport1 = locate->addMenu(QStringLiteral("Airport"));
    From1 = Airport1->addAction(QStringLiteral("From"), this, &RecordCommands::From1Click);
    To1 = Airport1->addAction(QStringLiteral("To"), this, &RecordCommands::To1Click);
    Distance2 =
        locate->addAction(QStringLiteral("Distance"), this, &RecordCommands::Distance2Click);
}

template <typename Dialog>
int RecordCommands::runRecordDialog(Dialog &dialog, decltype(Dialog::OnSubmit) submit,
                                    const std::function<void()> &onCancel)
{
    dialog.OnSubmit = std::move(submit);
    const int result = m_modalRunner(dialog);
    dialog.OnSubmit = nullptr;
    if (result != QDialog::Accepted && onCancel)
        onCancel();
    m_host.UpdateStatusBar();
    return result;
}

int RecordCommands::singleSelectedRow(TableKind kind) const
{
    const TLumListView *view = m_host.listView(kind);
    return view->selectedCount() == 1 ? view->firstSelectedRow() : -1;
}

int RecordCommands::firstSelectedRow(TableKind kind) const
{
    return m_host.listView(kind)->firstSelectedRow();
}

ReferenceFiles RecordCommands::referenceFiles() const
{
    return {m_host.airlineReferences(), m_host.airportReferences(), m_host.airportPositions()};
}

bool RecordCommands::readable(const QString &problem)
{
    if (problem.isEmpty())
        return true;
    MessageBoxes::error(m_host.hostWindow(), problem);
    return false;
}

// --- Flights ---

void RecordCommands::runFlightDialog(FlightDialogMode mode, int row)
{
    LogDocument &document = m_host.Document();
    const FlightCodeLists lists = FlightDialogLists(document);
    FlightFields fields;
    if (mode == FlightDialogMode::Add)
        fields = NewFlightFields(document, lists);
    else if (!readable(FlightFieldsFromRow(document, row, lists, fields)))
        return;
    if (mode == FlightDialogMode::Properties) {
        Form3->setup(mode, lists, fields, FlightDistanceLabel(document, fields.from, fields.to));
        runRecordDialog(*Form3, nullptr);
        return;
    }
    Form3->setup(mode, lists, fields);
    runRecordDialog(*Form3, [this, mode, row](const FlightFields &entered) {
        return SubmitFlight(m_host.Document(), mode, row, entered, referenceFiles(),
                            m_host.options());
    });
}

void RecordCommands::Properties1Click()
{
    if (const int row = firstSelectedRow(TableKind::Flights); row >= 0)
        runFlightDialog(FlightDialogMode::Properties, row);
}

void RecordCommands::Add1Click()
{
    // The Flights list's selection counts whichever page is shown.
    const int row = singleSelectedRow(TableKind::Flights);
    runFlightDialog(row >= 0 ? FlightDialogMode::Modify : FlightDialogMode::Add, row);
}

void RecordCommands::Derive1Click()
{
    if (const int row = firstSelectedRow(TableKind::Flights); row >= 0)
        runFlightDialog(FlightDialogMode::Derive, row);
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
        LocateFromFlight(m_host.Document(), firstSelectedRow(TableKind::Flights), target);
    if (!readable(result.error) || result.row < 0)
        return;
    m_host.setActiveTable(result.table);
    m_host.listView(result.table)->selectOnly(result.row);
    m_host.UpdateStatusBar();
}

// --- Airlines ---

void RecordCommands::Properties2Click()
{
    const int row = firstSelectedRow(TableKind::Airlines);
    if (row < 0)
        return;
    const LogDocument &document = m_host.Document();
    Form4->setup(RecordDialogMode::Properties, AirlineFieldsFromRow(document, row),
                 ReferenceCountLabel(document, TableKind::Airlines, row));
    runRecordDialog(*Form4, nullptr);
}

void RecordCommands::Add2Click()
{
    const int row = singleSelectedRow(TableKind::Airlines);
    const RecordDialogMode mode = row >= 0 ? RecordDialogMode::Modify : RecordDialogMode::Add;
    Form4->setup(mode, row >= 0 ? AirlineFieldsFromRow(m_host.Document(), row) : AirlineFields{});
    runRecordDialog(*Form4, [this, mode, row](const AirlineFields &entered) {
        return SubmitAirline(m_host.Document(), mode, row, entered, m_host.options());
    });
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
    const LogDocument &document = m_host.Document();
    const QStringList countries = m_host.options().CheckedCountries();
    Form5->setup(RecordDialogMode::Properties, countries,
                 AirportFieldsFromRow(document, row, countries),
                 ReferenceCountLabel(document, TableKind::Airports, row));
    runRecordDialog(*Form5, nullptr);
}

void RecordCommands::Add3Click()
{
    const int row = singleSelectedRow(TableKind::Airports);
    const RecordDialogMode mode = row >= 0 ? RecordDialogMode::Modify : RecordDialogMode::Add;
    const LogDocument &document = m_host.Document();
    const QStringList countries = m_host.options().CheckedCountries();
    Form5->setup(mode, countries,
                 row >= 0 ? AirportFieldsFromRow(document, row, countries)
                          : NewAirportFields(document, countries));
    runRecordDialog(*Form5, [this, mode, row](const AirportFields &entered) {
        return SubmitAirport(m_host.Document(), mode, row, entered, m_host.options());
    });
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
    const LogDocument &document = m_host.Document();
    const QStringList airports = DistanceDialogAirports(document);
    DistanceFields fields;
    if (!readable(DistanceFieldsFromRow(document, row, airports, fields)))
        return;
    Form6->setup(RecordDialogMode::Properties, airports, fields,
                 ReferenceCountLabel(document, TableKind::Distances, row));
    runRecordDialog(*Form6, nullptr);
}

void RecordCommands::Add4Click()
{
    const int row = singleSelectedRow(TableKind::Distances);
    const RecordDialogMode mode = row >= 0 ? RecordDialogMode::Modify : RecordDialogMode::Add;
    LogDocument &document = m_host.Document();
    const QStringList airports = DistanceDialogAirports(document);
    DistanceFields fields;
    if (mode == RecordDialogMode::Add)
        fields = NewDistanceFields(airports);
    else if (!readable(DistanceFieldsFromRow(document, row, airports, fields)))
        return;
    Form6->setup(mode, airports, fields);
    runRecordDialog(
        *Form6,
        [this, mode, row](const DistanceFields &entered) {
            return SubmitDistance(m_host.Document(), mode, row, entered, m_host.options());
        },
        // Cancel puts the Distances table in order as OK does.
        [this] { CancelDistanceDialog(m_host.Document(), m_host.options()); });
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
    SwapDistances(m_host.Document(), m_host.listView(TableKind::Distances)->selectedRows());
    m_host.UpdateStatusBar();
}

void RecordCommands::DistanceCalculator1Click()
{
    openWebLink(WebLinkKind::DistanceCalculator, TableKind::Distances);
}

// --- shared ---

void RecordCommands::deleteSelected(TableKind kind)
{
    DeleteRows(m_host.Document(), kind, m_host.listView(kind)->selectedRows());
    m_host.UpdateStatusBar();
}

void RecordCommands::clearTable(TableKind kind)
{
    ClearTable(m_host.Document(), kind);
    m_host.UpdateStatusBar();
}

void RecordCommands::openWebLink(WebLinkKind kind, TableKind table)
{
    const QString address =
        WebLinkAddress(m_host.Document(), kind, firstSelectedRow(table), m_host.options());
    // Any other option index chooses no site.
    if (!address.isEmpty())
        m_urlOpener(QUrl(address));
}
