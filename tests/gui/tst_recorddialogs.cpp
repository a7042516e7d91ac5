// The record dialogs driven through the main window's commands: modes, titles, control states,
// defaults, validation messages, blank pickers, properties labels, locate, the context menus'
// enabling and the routing of Add.
#include "app/MainWindowPages.h"
#include "app/WingbookUnit1.h"
#include "components/LumFlatFile.h"
#include "components/ui/LumListView.h"
#include "components/ui/MessageBoxes.h"
#include "editing/ui/DateTimePicker.h"
#include "editing/ui/DialogControls.h"
#include "editing/ui/RecordCommands.h"
#include "editing/ui/WingbookUnit3.h"
#include "editing/ui/WingbookUnit4.h"
#include "editing/ui/WingbookUnit5.h"
#include "editing/ui/WingbookUnit6.h"
#include "model/LogDocument.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QUrl>
#include <memory>

namespace
{

const QString kFixtures = QStringLiteral(WINGBOOK_FIXTURES "/dialogs/");

enum FlightColumn { Date, Time, From, To, Airline, Flight };

QStringList comboEntries(const QComboBox *comboBox)
{
    QStringList entries;
    for (int i = 0; i < comboBox->count(); ++i)
        entries.append(comboBox->itemText(i));
    return entries;
}

QAction *menuItem(QMenu *menu, const QString &caption)
{
    for (QAction *action : menu->actions()) {
        if (action->text() == caption)
            return action;
    }
    return nullptr;
}

} // namespace

class TestRecordDialogs : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void flightDialogModes_data();
    void flightDialogModes();
    void flightValidationKeepsTheDialogOpen_data();
    void flightValidationKeepsTheDialogOpen();
    void addedFlightFillsTheReferenceTables();
    void modifyWithoutChangesKeepsTheCounts();
    void unreadableStoredDateOpensNothing();
    void blankPickers();
    void swapButtonAndUpperCaseCodes();
    void airlineDialog();
    void airportCountriesInCollationOrder();
    void airportDialog_data();
    void airportDialog();
    void distanceDialog();
    void distanceArrowsStopAtTheirEnds();
    void propertiesLabels_data();
    void propertiesLabels();
    void locate_data();
    void locate();
    void contextMenuEnabling_data();
    void contextMenuEnabling();
    void toolsAddModifiesWhileToolbarAddAdds();
    void doubleClickAndDeleteKey();
    void webLinks();

private:
    // Fills the log: three flights, two airlines, three airports, two distances.
    void fillLog();
    void select(TableKind kind, const QList<int> &rows);
    // Runs a command; the dialog it opens is handed to `work` while shown, then closed.
    void runDialog(const std::function<void()> &command,
                   const std::function<void(QDialog &)> &work);
    QStringList errors() const;

    WindowTests::PrivateSettingsFolder m_config;
    WindowTests::MessageBoxRecorder m_messages;
    std::unique_ptr<TForm1> m_form;
    RecordCommands *m_commands = nullptr;
    OptionSet m_options;
    std::function<void(QDialog &)> m_work;
    QStringList m_openedTitles;
    QList<QUrl> m_openedUrls;
};

void TestRecordDialogs::initTestCase()
{
    QVERIFY(m_config.isValid());
}

void TestRecordDialogs::init()
{
    m_options = OptionSet();
    m_options.checkedCountries = {QStringLiteral("United States"), QStringLiteral("France"),
                                  QStringLiteral("United Kingdom"), QStringLiteral("Japan")};
    m_messages.clear();
    m_openedTitles.clear();
    m_openedUrls.clear();
    m_work = nullptr;
    m_form = std::make_unique<TForm1>();
    m_form->setOptions(&m_options);
    m_form->AirlinesLumFlatFile->setFileName(kFixtures + QStringLiteral("Airlines.def"));
    m_form->AirportsLumFlatFile->setFileName(kFixtures + QStringLiteral("Airports.def"));
    QVERIFY(m_form->AirlinesLumFlatFile->Initialize());
    QVERIFY(m_form->AirportsLumFlatFile->Initialize());
    m_commands = new RecordCommands(*m_form, m_form.get());
    m_commands->setModalRunner([this](QDialog &dialog) {
        m_openedTitles.append(dialog.windowTitle());
        dialog.setResult(QDialog::Rejected);
        dialog.show();
        dialog.activateWindow();
        if (m_work)
            m_work(dialog);
        if (dialog.isVisible())
            dialog.reject();
        return dialog.result();
    });
    m_commands->setUrlOpener([this](const QUrl &url) { m_openedUrls.append(url); });
    fillLog();
}

void TestRecordDialogs::cleanup()
{
    m_form.reset();
    m_commands = nullptr;
}

void TestRecordDialogs::fillLog()
{
    LogDocument &document = m_form->Document();
    document.Flights.appendRow({"2024-01-05", "08:30", "JFK", "LHR", "BA", "0117"});
    document.Flights.appendRow({"2024-02-01", "10:00", "LHR", "CDG", "AF", "1081"});
    document.Flights.appendRow({"2024-03-01", "12:00", "LHR", "JFK", "BA", "0118"});
    document.Airlines.appendRow({"BA", "British Airways"});
    document.Airlines.appendRow({"AF", "Air France"});
    document.Airports.appendRow({"JFK", "John F Kennedy Intl", "New York", "United States"});
    document.Airports.appendRow({"LHR", "Heathrow", "London", "United Kingdom"});
    document.Airports.appendRow({"CDG", "Charles de Gaulle", "Paris", "France"});
    document.Distances.appendRow({"JFK", "LHR", "3451"});
    document.Distances.appendRow({"CDG", "LHR", "0"});
    document.countReferences();
    document.choosePreferredValues();
    document.setModified(false);
    m_form->UpdateStatusBar();
}

void TestRecordDialogs::select(TableKind kind, const QList<int> &rows)
{
    TLumListView *view = m_form->listView(kind);
    view->clearSelection();
    for (int row : rows)
        view->selectionModel()->select(view->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

void TestRecordDialogs::runDialog(const std::function<void()> &command,
                                  const std::function<void(QDialog &)> &work)
{
    m_work = work;
    command();
    m_work = nullptr;
}

QStringList TestRecordDialogs::errors() const
{
    return m_messages.texts(MessageBoxes::Kind::Error);
}

// --- the flight dialog ---

void TestRecordDialogs::flightDialogModes_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("blankPickers");
    QTest::addColumn<QStringList>("codes"); // From, To, Airline
    QTest::addColumn<QString>("flight");

    // The preferred airports: LHR is named three times, JFK twice; BA twice.
    QTest::newRow("add") << "add" << QList<int>{} << "Add Flight" << true
                         << QStringList{"LHR", "JFK", "BA"} << "";
    QTest::newRow("add, two selected") << "add" << QList<int>{0, 1} << "Add Flight" << true
                                       << QStringList{"LHR", "JFK", "BA"} << "";
    QTest::newRow("modify") << "add" << QList<int>{1} << "Modify Flight" << false
                            << QStringList{"LHR", "CDG", "AF"} << "1081";
    QTest::newRow("derive") << "derive" << QList<int>{0} << "Derive Flight" << false
                            << QStringList{"JFK", "LHR", "BA"} << "0117";
    QTest::newRow("properties") << "properties" << QList<int>{2} << "Flight Properties" << false
                                << QStringList{"LHR", "JFK", "BA"} << "0118";
}

void TestRecordDialogs::flightDialogModes()
{
    QFETCH(QString, command);
    QFETCH(QList<int>, selection);
    QFETCH(QString, title);
    QFETCH(bool, blankPickers);
    QFETCH(QStringList, codes);
    QFETCH(QString, flight);

    select(TableKind::Flights, selection);
    const bool properties = command == QLatin1String("properties");
    const std::function<void()> run = [this, command] {
        if (command == QLatin1String("add"))
            m_commands->Add1Click();
        else if (command == QLatin1String("derive"))
            m_commands->Derive1Click();
        else
            m_commands->Properties1Click();
    };
    bool checked = false;
    runDialog(run, [&](QDialog &dialog) {
        TForm3 *form = m_commands->Form3;
        QCOMPARE(&dialog, form);
        QCOMPARE(form->windowTitle(), title);
        QCOMPARE(form->DateDateTimePicker->isBlank(), blankPickers);
        QCOMPARE(form->TimeDateTimePicker->isBlank(), blankPickers);
        if (blankPickers) {
            // Blank pickers still hold today's date and a time.
            QCOMPARE(form->DateDateTimePicker->dateValue(), QDate::currentDate());
        } else {
            QCOMPARE(form->DateDateTimePicker->text(),
                     m_form->Document().Flights.cell(selection.first(), Date));
            QCOMPARE(form->TimeDateTimePicker->text(),
                     m_form->Document().Flights.cell(selection.first(), Time));
        }
        QCOMPARE(QStringList({form->FromComboBox->currentText(), form->ToComboBox->currentText(),
                              form->AirlineComboBox->currentText()}),
                 codes);
        QCOMPARE(form->FlightEdit->text(), flight);
        // The lists, rebuilt at each opening, show the codes sorted.
        QCOMPARE(comboEntries(form->FromComboBox), QStringList({"CDG", "JFK", "LHR"}));
        QCOMPARE(comboEntries(form->AirlineComboBox), QStringList({"AF", "BA"}));

        for (QWidget *control : std::initializer_list<QWidget *>{
                 form->DateDateTimePicker, form->TimeDateTimePicker, form->FromComboBox,
                 form->ToComboBox, form->AirlineComboBox, form->SwapSpeedButton})
            QCOMPARE(control->isEnabled(), !properties);
        QCOMPARE(form->FlightEdit->isReadOnly(), properties);
        QCOMPARE(form->DistanceBetweenAirportsLabel->isVisible(), properties);
        QCOMPARE(form->OKButton->isVisible(), !properties);
        QCOMPARE(form->OKButton->isDefault(), !properties);
        QCOMPARE(form->CancelButton->isDefault(), properties);
        if (properties)
            QCOMPARE(form->DistanceBetweenAirportsLabel->text(),
                     QStringLiteral("Distance between airports equal to 3451 mile(s)"));
        // The date picker takes the focus when it is enabled.
        QTRY_COMPARE(form->DateDateTimePicker->hasFocus(), !properties);
        checked = true;
    });
    QVERIFY(checked);
    QCOMPARE(m_form->Document().Flights.count(), 3);
}

void TestRecordDialogs::flightValidationKeepsTheDialogOpen_data()
{
    QTest::addColumn<bool>("dateBlank");
    QTest::addColumn<bool>("timeBlank");
    QTest::addColumn<QStringList>("texts"); // From, To, Airline, Flight
    QTest::addColumn<QString>("time");
    QTest::addColumn<QString>("message");

    const QStringList all = {"JFK", "CDG", "AF", "22"};
    QTest::newRow("both pickers blank: the date first") << true << true << all << "09:00"
                                                        << "The date value must be non-empty.";
    QTest::newRow("time blank") << false << true << all << "09:00"
                                << "The time value must be non-empty.";
    QTest::newRow("from") << false << false << QStringList{"", "CDG", "AF", "22"} << "09:00"
                          << "The from value must be non-empty.";
    QTest::newRow("to") << false << false << QStringList{"JFK", "", "AF", "22"} << "09:00"
                        << "The to value must be non-empty.";
    QTest::newRow("airline") << false << false << QStringList{"JFK", "CDG", "", "22"} << "09:00"
                             << "The airline value must be non-empty.";
    QTest::newRow("flight") << false << false << QStringList{"JFK", "CDG", "AF", ""} << "09:00"
                            << "The flight value must be non-empty.";
    QTest::newRow("same date and time") << false << false << all << "08:30"
                                        << "The flight already exists.";
}

void TestRecordDialogs::flightValidationKeepsTheDialogOpen()
{
    QFETCH(bool, dateBlank);
    QFETCH(bool, timeBlank);
    QFETCH(QStringList, texts);
    QFETCH(QString, time);
    QFETCH(QString, message);

    bool checked = false;
    runDialog([this] { m_commands->Add1Click(); },
              [&](QDialog &dialog) {
                  TForm3 *form = m_commands->Form3;
                  form->DateDateTimePicker->setDate(QDate(2024, 1, 5));
                  form->DateDateTimePicker->setBlank(dateBlank);
                  form->TimeDateTimePicker->setTime(QTime::fromString(time, "HH:mm"));
                  form->TimeDateTimePicker->setBlank(timeBlank);
                  form->FromComboBox->setEditText(texts[0]);
                  form->ToComboBox->setEditText(texts[1]);
                  form->AirlineComboBox->setEditText(texts[2]);
                  form->FlightEdit->setText(texts[3]);
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QCOMPARE(errors(), QStringList{message});
                  QVERIFY(dialog.isVisible());
                  QCOMPARE(form->FlightEdit->text(), texts[3]);
                  QCOMPARE(form->DateDateTimePicker->isBlank(), dateBlank);
                  checked = true;
              });
    QVERIFY(checked);
    QCOMPARE(m_form->Document().Flights.count(), 3);
    QVERIFY(!m_form->Document().isModified());
}

void TestRecordDialogs::addedFlightFillsTheReferenceTables()
{
    runDialog([this] { m_commands->Add1Click(); },
              [&](QDialog &dialog) {
                  TForm3 *form = m_commands->Form3;
                  form->DateDateTimePicker->setDate(QDate(2024, 4, 2));
                  form->DateDateTimePicker->setBlank(false);
                  form->TimeDateTimePicker->setTime(QTime(7, 5));
                  form->TimeDateTimePicker->setBlank(false);
                  // Codes that no row has yet, typed in lower case.
                  for (QComboBox *comboBox :
                       {form->FromComboBox, form->ToComboBox, form->AirlineComboBox})
                      comboBox->lineEdit()->clear();
                  QTest::keyClicks(form->FromComboBox->lineEdit(), QStringLiteral("sfo"));
                  QTest::keyClicks(form->ToComboBox->lineEdit(), QStringLiteral("nrt"));
                  QTest::keyClicks(form->AirlineComboBox->lineEdit(), QStringLiteral("jl"));
                  QTest::keyClicks(form->FlightEdit, QStringLiteral("1"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QVERIFY(!dialog.isVisible());
                  QCOMPARE(dialog.result(), int(QDialog::Accepted));
              });
    QVERIFY(errors().isEmpty());
    LogDocument &document = m_form->Document();
    QCOMPARE(document.Flights.count(), 4);
    const int flight = document.Flights.FindItemByPair("2024-04-02", "07:05");
    QVERIFY(flight >= 0);
    QCOMPARE(document.Flights.cell(flight, From), QStringLiteral("SFO"));
    QCOMPARE(document.Flights.cell(flight, Flight), QStringLiteral("001"));
    const int airline = document.Airlines.FindItemByText("JL", 0);
    QVERIFY(airline >= 0);
    QCOMPARE(document.Airlines.cell(airline, 1), QStringLiteral("Japan Airlines"));
    QCOMPARE(document.Airlines.referenceCount(airline), 1);
    const int airport = document.Airports.FindItemByText("NRT", 0);
    QVERIFY(airport >= 0);
    QCOMPARE(document.Airports.cell(airport, 1), QStringLiteral("Narita Intl"));
    QCOMPARE(document.Airports.cell(airport, 3), QStringLiteral("Japan"));
    QVERIFY(document.Distances.findPairEitherWay("NRT", "SFO") >= 0);
    QVERIFY(document.isModified());
    QVERIFY(m_form->statusText().startsWith(QStringLiteral("4 flight(s) - 3 airline(s)")));
}

void TestRecordDialogs::modifyWithoutChangesKeepsTheCounts()
{
    LogDocument &document = m_form->Document();
    // Keyed by the row's first two cells: OK sorts the tables.
    const auto counts = [&document] {
        QMap<QString, qint32> all;
        for (LogTable *table : {&document.Airlines, &document.Airports, &document.Distances})
            for (int r = 0; r < table->count(); ++r)
                all.insert(table->cell(r, 0) + '|' + table->cell(r, 1), table->referenceCount(r));
        return all;
    };
    const QMap<QString, qint32> before = counts();
    select(TableKind::Flights, {0});
    runDialog(
        [this] { m_commands->Add1Click(); },
        [this](QDialog &) { QTest::mouseClick(m_commands->Form3->OKButton, Qt::LeftButton); });
    QVERIFY(errors().isEmpty());
    QCOMPARE(counts(), before);
    QCOMPARE(document.Flights.count(), 3);
    QVERIFY(document.isModified());
}

void TestRecordDialogs::unreadableStoredDateOpensNothing()
{
    m_form->Document().Flights.setCell(1, Date, QStringLiteral("5 Feb"));
    select(TableKind::Flights, {1});
    m_commands->Add1Click();
    m_commands->Derive1Click();
    QVERIFY(m_openedTitles.isEmpty());
    QCOMPARE(errors().size(), 2);
    QVERIFY(errors().first().contains(QStringLiteral("5 Feb")));
}

void TestRecordDialogs::blankPickers()
{
    bool checked = false;
    runDialog([this] { m_commands->Add1Click(); },
              [&](QDialog &) {
                  TDateTimePicker *date = m_commands->Form3->DateDateTimePicker;
                  TDateTimePicker *time = m_commands->Form3->TimeDateTimePicker;
                  // Tab leaves a blank picker, which has no sections to move between.
                  QTRY_VERIFY(date->hasFocus());
                  QTest::keyClick(date, Qt::Key_Tab);
                  QTRY_VERIFY(time->hasFocus());
                  QVERIFY(date->isBlank());
                  for (auto [picker, format] : {std::pair{date, QStringLiteral("yyyy-MM-dd")},
                                                std::pair{time, QStringLiteral("HH:mm")}}) {
                      // Blank: the single-blank format, nothing shown.
                      QCOMPARE(picker->Format(), QStringLiteral(" "));
                      QCOMPARE(picker->text().trimmed(), QString());
                      // A click on the text, or on the arrows, shows the value it holds.
                      auto *text = picker->findChild<QLineEdit *>();
                      QVERIFY(text);
                      QTest::mouseClick(text, Qt::LeftButton, {}, QPoint(5, 5));
                      QCOMPARE(picker->Format(), format);
                      QCOMPARE(picker->text(), picker->dateTime().toString(format));
                      picker->setBlank(true);
                      QTest::mouseClick(picker, Qt::LeftButton, {},
                                        QPoint(picker->width() - 4, picker->height() / 2));
                      QCOMPARE(picker->Format(), format);
                      // The date's arrow opens its calendar.
                      if (QWidget *popup = QApplication::activePopupWidget())
                          popup->close();
                      // Delete blanks it again.
                      QTest::keyClick(picker, Qt::Key_Delete);
                      QVERIFY(picker->isBlank());
                      QCOMPARE(picker->text().trimmed(), QString());
                      // A key that edits shows the value first, so nothing changes unseen.
                      QTest::keyClick(picker, Qt::Key_Up);
                      QVERIFY(!picker->isBlank());
                  }
                  QCOMPARE(m_commands->Form3->fields().date, date->dateValue());
                  checked = true;
              });
    QVERIFY(checked);
}

void TestRecordDialogs::swapButtonAndUpperCaseCodes()
{
    select(TableKind::Flights, {0});
    bool checked = false;
    runDialog([this] { m_commands->Add1Click(); },
              [&](QDialog &) {
                  TForm3 *form = m_commands->Form3;
                  QTest::mouseClick(form->SwapSpeedButton, Qt::LeftButton);
                  QCOMPARE(form->FromComboBox->currentText(), QStringLiteral("LHR"));
                  QCOMPARE(form->ToComboBox->currentText(), QStringLiteral("JFK"));
                  form->AirlineComboBox->lineEdit()->clear();
                  QTest::keyClicks(form->AirlineComboBox->lineEdit(), QStringLiteral("ba"));
                  QCOMPARE(form->AirlineComboBox->currentText(), QStringLiteral("BA"));
                  // What is typed is never added to the list.
                  QTest::keyClicks(form->AirlineComboBox->lineEdit(), QStringLiteral("x"));
                  QTest::keyClick(form->AirlineComboBox->lineEdit(), Qt::Key_Return);
                  checked = true;
              });
    QVERIFY(checked);
    QCOMPARE(comboEntries(m_commands->Form3->AirlineComboBox), QStringList({"AF", "BA"}));
}

// --- airline, airport and distance dialogs ---

void TestRecordDialogs::airlineDialog()
{
    LogDocument &document = m_form->Document();
    // Add: empty fields, upper-case code; an existing code is refused and the dialog stays.
    bool checked = false;
    runDialog([this] { m_commands->Add2Click(); },
              [&](QDialog &dialog) {
                  TForm4 *form = m_commands->Form4;
                  QCOMPARE(form->windowTitle(), QStringLiteral("Add Airline"));
                  QVERIFY(form->AirlineEdit->text().isEmpty() && form->NameEdit->text().isEmpty());
                  QVERIFY(!form->ReferenceCountLabel->isVisible());
                  QTRY_VERIFY(form->AirlineEdit->hasFocus());
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QTest::keyClicks(form->AirlineEdit, QStringLiteral("af"));
                  QCOMPARE(form->AirlineEdit->text(), QStringLiteral("AF"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QCOMPARE(errors(), QStringList({"The airline value must be non-empty.",
                                                  "The airline already exists."}));
                  QVERIFY(dialog.isVisible());
                  form->AirlineEdit->setText(QStringLiteral("UA"));
                  form->NameEdit->setText(QStringLiteral("United"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QVERIFY(!dialog.isVisible());
                  checked = true;
              });
    QVERIFY(checked);
    const int added = document.Airlines.FindItemByText("UA", 0);
    QVERIFY(added >= 0);
    QCOMPARE(document.Airlines.referenceCount(added), 0);
    QVERIFY(m_form->statusText().contains(QStringLiteral("3 airline(s)")));

    // Modify: the row's texts; another row's code is accepted.
    select(TableKind::Airlines, {document.Airlines.FindItemByText("BA", 0)});
    checked = false;
    runDialog([this] { m_commands->Add2Click(); },
              [&](QDialog &) {
                  TForm4 *form = m_commands->Form4;
                  QCOMPARE(form->windowTitle(), QStringLiteral("Modify Airline"));
                  QCOMPARE(form->NameEdit->text(), QStringLiteral("British Airways"));
                  QVERIFY(!form->AirlineEdit->isReadOnly());
                  form->AirlineEdit->setText(QStringLiteral("AF"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  checked = true;
              });
    QVERIFY(checked);
    QCOMPARE(errors().size(), 2);
    QCOMPARE(document.Airlines.GetItemCaptions().count(QStringLiteral("AF")), 2);
}

void TestRecordDialogs::airportCountriesInCollationOrder()
{
    const QLocale::Language language = QLocale::system().language();
    if (language != QLocale::C && language != QLocale::English)
        QSKIP("the expected order is that of English");
    TForm5 form;
    form.setup(RecordDialogMode::Add, {"Zimbabwe", QStringLiteral("Åland Islands"), "Albania"}, {});
    // A code-point order would put "Åland Islands" after "Zimbabwe".
    QCOMPARE(comboEntries(form.CountryComboBox),
             QStringList({QStringLiteral("Åland Islands"), "Albania", "Zimbabwe"}));
    QCOMPARE(form.CountryComboBox->currentIndex(), -1);
}

void TestRecordDialogs::airportDialog_data()
{
    QTest::addColumn<QString>("homeCountry");
    QTest::addColumn<QString>("country");

    QTest::newRow("home country checked") << "France"
                                          << "France";
    QTest::newRow("home country not checked") << "Peru"
                                              << "";
}

void TestRecordDialogs::airportDialog()
{
    QFETCH(QString, homeCountry);
    QFETCH(QString, country);

    LogDocument &document = m_form->Document();
    document.HomeCountry = homeCountry;
    bool checked = false;
    runDialog([this] { m_commands->Add3Click(); },
              [&](QDialog &dialog) {
                  TForm5 *form = m_commands->Form5;
                  QCOMPARE(form->windowTitle(), QStringLiteral("Add Airport"));
                  QVERIFY(!form->CountryComboBox->isEditable());
                  QCOMPARE(comboEntries(form->CountryComboBox),
                           QStringList({"France", "Japan", "United Kingdom", "United States"}));
                  QCOMPARE(form->fields().country, country);
                  QTRY_VERIFY(form->AirportEdit->hasFocus());
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QTest::keyClicks(form->AirportEdit, QStringLiteral("cdg"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QCOMPARE(errors(), QStringList({"The airport value must be non-empty.",
                                                  "The airport already exists."}));
                  QVERIFY(dialog.isVisible());
                  form->AirportEdit->setText(QStringLiteral("ORY"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QVERIFY(!dialog.isVisible());
                  checked = true;
              });
    QVERIFY(checked);
    const int added = document.Airports.FindItemByText("ORY", 0);
    QVERIFY(added >= 0);
    QCOMPARE(document.Airports.cell(added, 3), country);

    // Modify selects the row's country without regard to case.
    const int jfk = document.Airports.FindItemByText("JFK", 0);
    document.Airports.setCell(jfk, 3, QStringLiteral("united states"));
    select(TableKind::Airports, {jfk});
    checked = false;
    runDialog([this] { m_commands->Add3Click(); },
              [&](QDialog &) {
                  QCOMPARE(m_commands->Form5->windowTitle(), QStringLiteral("Modify Airport"));
                  QCOMPARE(m_commands->Form5->fields().country, QStringLiteral("United States"));
                  QCOMPARE(m_commands->Form5->CityEdit->text(), QStringLiteral("New York"));
                  checked = true;
              });
    QVERIFY(checked);
}

void TestRecordDialogs::distanceDialog()
{
    LogDocument &document = m_form->Document();
    bool checked = false;
    runDialog([this] { m_commands->Add4Click(); },
              [&](QDialog &dialog) {
                  TForm6 *form = m_commands->Form6;
                  QCOMPARE(form->windowTitle(), QStringLiteral("Add Distance"));
                  // Each list on its first entry in sorted order, distance 0.
                  QCOMPARE(form->FromComboBox->currentText(), QStringLiteral("CDG"));
                  QCOMPARE(form->ToComboBox->currentText(), QStringLiteral("CDG"));
                  QCOMPARE(form->DistanceEdit->text(), QStringLiteral("0"));
                  QTRY_VERIFY(form->DistanceEdit->hasFocus());
                  // Only digits can be typed.
                  form->DistanceEdit->clear();
                  QTest::keyClicks(form->DistanceEdit, QStringLiteral("a4-2"));
                  QCOMPARE(form->DistanceEdit->text(), QStringLiteral("42"));

                  form->FromComboBox->setEditText(QString());
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  form->FromComboBox->setEditText(QStringLiteral("JFK"));
                  form->ToComboBox->setEditText(QString());
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  // The table holds JFK-LHR: LHR-JFK is the same distance.
                  form->FromComboBox->setEditText(QStringLiteral("LHR"));
                  form->ToComboBox->setEditText(QStringLiteral("JFK"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QCOMPARE(errors(), QStringList({"The from value must be non-empty.",
                                                  "The to value must be non-empty.",
                                                  "The distance already exists."}));
                  QVERIFY(dialog.isVisible());
                  form->FromComboBox->setEditText(QStringLiteral("SFO"));
                  form->ToComboBox->setEditText(QStringLiteral("LHR"));
                  form->DistanceEdit->setText(QStringLiteral("5367"));
                  QTest::mouseClick(form->OKButton, Qt::LeftButton);
                  QVERIFY(!dialog.isVisible());
                  checked = true;
              });
    QVERIFY(checked);
    // Stored in the order entered.
    const int added = document.Distances.FindItemByPair("SFO", "LHR");
    QVERIFY(added >= 0);
    QCOMPARE(document.Distances.cell(added, 2), QStringLiteral("5367"));

    // A Miles text that is not a whole number: the dialog does not open.
    document.Distances.setCell(added, 2, QStringLiteral("2x"));
    select(TableKind::Distances, {added});
    m_openedTitles.clear();
    m_commands->Add4Click();
    m_commands->Properties4Click();
    QVERIFY(m_openedTitles.isEmpty());
    QCOMPARE(errors().size(), 5);
    QVERIFY(errors().last().contains(QStringLiteral("2x")));
}

void TestRecordDialogs::distanceArrowsStopAtTheirEnds()
{
    LogDocument &document = m_form->Document();
    // A stored distance beyond the arrows' range is shown as it is.
    document.Distances.setCell(0, 2, QStringLiteral("45000"));
    select(TableKind::Distances, {0});
    bool checked = false;
    runDialog([this] { m_commands->Add4Click(); },
              [&](QDialog &) {
                  TForm6 *form = m_commands->Form6;
                  QCOMPARE(form->windowTitle(), QStringLiteral("Modify Distance"));
                  QCOMPARE(form->DistanceEdit->text(), QStringLiteral("45000"));
                  QTest::mouseClick(form->DistanceUpDown->upButton(), Qt::LeftButton);
                  QCOMPARE(form->DistanceEdit->text(), QStringLiteral("30000"));
                  form->DistanceEdit->setText(QStringLiteral("1"));
                  QTest::mouseClick(form->DistanceUpDown->downButton(), Qt::LeftButton);
                  QTest::mouseClick(form->DistanceUpDown->downButton(), Qt::LeftButton);
                  QCOMPARE(form->DistanceEdit->text(), QStringLiteral("0"));
                  QTest::keyClick(form->DistanceEdit, Qt::Key_Up);
                  QCOMPARE(form->DistanceEdit->text(), QStringLiteral("1"));
                  checked = true;
              });
    QVERIFY(checked);
    // Cancel changed nothing.
    QCOMPARE(document.Distances.cell(document.Distances.FindItemByPair("JFK", "LHR"), 2),
             QStringLiteral("45000"));
}

// --- properties ---

void TestRecordDialogs::propertiesLabels_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("label");

    QTest::newRow("airline") << 1 << "BA"
                             << "Airline Properties"
                             << "Airline referenced by 2 flight(s) [66.67%]";
    QTest::newRow("airport") << 2 << "CDG"
                             << "Airport Properties"
                             << "Airport referenced by 1 flight(s) [33.33%]";
    QTest::newRow("distance") << 3 << "JFK"
                              << "Distance Properties"
                              << "Distance referenced by 2 flight(s) [66.67%]";
}

void TestRecordDialogs::propertiesLabels()
{
    QFETCH(int, page);
    QFETCH(QString, code);
    QFETCH(QString, title);
    QFETCH(QString, label);

    label.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
    const TableKind kind = kPages[page].kind;
    select(kind, {m_form->Document().table(kind).FindItemByText(code, 0)});
    // Double-click and Enter show the properties (the option's default): read-only, the label
    // shown, no OK, Cancel the default button.
    m_form->setActiveTable(kind);
    bool checked = false;
    runDialog([this, kind] { m_form->runDefaultCommand(kind); },
              [&](QDialog &dialog) {
                  QLabel *countLabel = page == 1   ? m_commands->Form4->ReferenceCountLabel
                                       : page == 2 ? m_commands->Form5->ReferenceCountLabel
                                                   : m_commands->Form6->ReferenceCountLabel;
                  QVERIFY(countLabel->isVisible());
                  QCOMPARE(countLabel->text(), label);
                  for (QLineEdit *edit : dialog.findChildren<QLineEdit *>()) {
                      if (!edit->parentWidget()->inherits("QComboBox"))
                          QVERIFY(edit->isReadOnly());
                  }
                  for (QComboBox *comboBox : dialog.findChildren<QComboBox *>())
                      QVERIFY(!comboBox->isEnabled());
                  const QList<QPushButton *> buttons = dialog.findChildren<QPushButton *>();
                  for (QPushButton *button : buttons) {
                      if (button->text() == QLatin1String("OK"))
                          QVERIFY(!button->isVisible());
                      else
                          QVERIFY(button->isDefault());
                  }
                  checked = true;
              });
    QVERIFY(checked);
    QCOMPARE(m_openedTitles, QStringList{title});
    QVERIFY(!m_form->Document().isModified());
}

// --- locate ---

void TestRecordDialogs::locate_data()
{
    QTest::addColumn<QString>("item"); // Airline, From, To, Distance
    QTest::addColumn<int>("flight");
    QTest::addColumn<QString>("missingCode"); // a row removed first
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("message");

    QTest::newRow("airline") << "Airline" << 1 << "" << 1 << "AF"
                             << "";
    QTest::newRow("from") << "From" << 1 << "" << 2 << "LHR"
                          << "";
    QTest::newRow("to") << "To" << 1 << "" << 2 << "CDG"
                        << "";
    QTest::newRow("distance stored the other way round") << "Distance" << 2 << "" << 3 << "JFK"
                                                         << "";
    QTest::newRow("airline deleted") << "Airline" << 1 << "AF" << 0 << ""
                                     << "The airline can't be located.";
    QTest::newRow("airport deleted") << "To" << 1 << "CDG" << 0 << ""
                                     << "The airport can't be located.";
    QTest::newRow("distance deleted") << "Distance" << 1 << "CDG" << 0 << ""
                                      << "The distance can't be located.";
}

void TestRecordDialogs::locate()
{
    QFETCH(QString, item);
    QFETCH(int, flight);
    QFETCH(QString, missingCode);
    QFETCH(int, page);
    QFETCH(QString, code);
    QFETCH(QString, message);

    LogDocument &document = m_form->Document();
    if (!missingCode.isEmpty()) {
        // Remove every row that names the code through the tables' own Delete commands.
        for (TableKind kind : {TableKind::Airlines, TableKind::Airports, TableKind::Distances}) {
            QList<int> rows;
            for (int r = 0; r < document.table(kind).count(); ++r) {
                for (int c = 0; c < 2; ++c)
                    if (document.table(kind).cell(r, c) == missingCode && !rows.contains(r))
                        rows.append(r);
            }
            select(kind, rows);
            m_form->runRecordCommand(kind, RecordCommand::Delete);
        }
    }
    select(TableKind::Flights, {flight});
    m_form->setActiveTable(TableKind::Flights);
    QMenu *menu = m_form->contextMenu(TableKind::Flights);
    QAction *locateItem = menuItem(menu, QStringLiteral("Locate"));
    QVERIFY(locateItem && locateItem->isEnabled());
    QMenu *locateMenu = locateItem->menu();
    QAction *target = item == QLatin1String("From") || item == QLatin1String("To")
                          ? menuItem(menuItem(locateMenu, QStringLiteral("Airport"))->menu(), item)
                          : menuItem(locateMenu, item);
    QVERIFY(target);
    target->trigger();

    const TableKind shown = kPages[page].kind;
    QCOMPARE(m_form->activeTable(), shown);
    if (message.isEmpty()) {
        QVERIFY(errors().isEmpty());
        TLumListView *view = m_form->listView(shown);
        QCOMPARE(view->selectedCount(), 1);
        QCOMPARE(document.table(shown).cell(view->firstSelectedRow(), 0), code);
    } else {
        QCOMPARE(errors(), QStringList{message});
        QCOMPARE(m_form->listView(TableKind::Flights)->selectedRows(), QList<int>{flight});
    }
}

// --- context menus and routing ---

void TestRecordDialogs::contextMenuEnabling_data()
{
    QTest::addColumn<QList<int>>("selection");
    QTest::addColumn<QString>("addCaption");
    QTest::addColumn<bool>("oneRowItems"); // Properties, Derive, Locate
    QTest::addColumn<bool>("deleteItem");

    QTest::newRow("none") << QList<int>{} << "Add" << false << false;
    QTest::newRow("one") << QList<int>{1} << "Modify" << true << true;
    QTest::newRow("two") << QList<int>{0, 2} << "Add" << false << true;
}

void TestRecordDialogs::contextMenuEnabling()
{
    QFETCH(QList<int>, selection);
    QFETCH(QString, addCaption);
    QFETCH(bool, oneRowItems);
    QFETCH(bool, deleteItem);

    select(TableKind::Flights, selection);
    QMenu *menu = m_form->contextMenu(TableKind::Flights);
    QStringList captions;
    for (QAction *action : menu->actions()) {
        if (action->isVisible())
            captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    QCOMPARE(captions, QStringList({"Properties", "-", "Find...", "-", "Clear", "-", "Locate", "-",
                                    addCaption, "Delete", "Derive"}));
    QCOMPARE(menuItem(menu, "Properties")->isEnabled(), oneRowItems);
    QCOMPARE(menuItem(menu, "Derive")->isEnabled(), oneRowItems);
    QCOMPARE(menuItem(menu, "Locate")->isEnabled(), oneRowItems);
    QCOMPARE(menuItem(menu, "Delete")->isEnabled(), deleteItem);
    QVERIFY(menuItem(menu, addCaption)->isEnabled());
    QCOMPARE(menu->defaultAction(), menuItem(menu, "Properties"));

    // The web-link items are always enabled; Swap needs a selected distance.
    for (TableKind kind : {TableKind::Airlines, TableKind::Airports, TableKind::Distances})
        select(kind, {});
    QVERIFY(menuItem(m_form->contextMenu(TableKind::Airlines), "Airline Information")->isEnabled());
    QVERIFY(menuItem(m_form->contextMenu(TableKind::Airports), "Airport Information")->isEnabled());
    QMenu *distances = m_form->contextMenu(TableKind::Distances);
    QVERIFY(menuItem(distances, "Distance Calculator")->isEnabled());
    QVERIFY(!menuItem(distances, "Swap")->isEnabled());
    select(TableKind::Distances, {1});
    menuItem(m_form->contextMenu(TableKind::Distances), "Swap")->trigger();
    QCOMPARE(m_form->Document().Distances.cell(1, 0), QStringLiteral("LHR"));
    QVERIFY(m_form->Document().isModified());
}

void TestRecordDialogs::toolsAddModifiesWhileToolbarAddAdds()
{
    select(TableKind::Flights, {1});
    // Tools, Add, "Flight" keeps the Flights selection even from another page.
    m_form->setActiveTable(TableKind::Airports);
    QAction *toolsFlight = menuItem(m_form->ToolsAddMenu, QStringLiteral("Flight"));
    QVERIFY(toolsFlight);
    toolsFlight->trigger();
    // The toolbar's Add clears the active page's selection first and always adds.
    m_form->setActiveTable(TableKind::Flights);
    m_form->action(MainCommand::Add)->trigger();
    QCOMPARE(m_openedTitles, QStringList({"Modify Flight", "Add Flight"}));
    QCOMPARE(m_form->listView(TableKind::Flights)->selectedCount(), 0);

    m_openedTitles.clear();
    for (const char *caption : {"Airline", "Airport", "Distance"})
        menuItem(m_form->ToolsAddMenu, QString::fromLatin1(caption))->trigger();
    QCOMPARE(m_openedTitles, QStringList({"Add Airline", "Add Airport", "Add Distance"}));
}

void TestRecordDialogs::doubleClickAndDeleteKey()
{
    m_options.handleDoubleClicks = false;
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->setActiveTable(TableKind::Airlines);
    TLumListView *view = m_form->listView(TableKind::Airlines);
    const QRect cell = view->visualRect(view->model()->index(0, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(m_openedTitles, QStringList{"Modify Airline"});

    // Delete removes the selected flights and releases what they named.
    LogDocument &document = m_form->Document();
    m_form->setActiveTable(TableKind::Flights);
    select(TableKind::Flights, {0, 2});
    QTest::keyClick(m_form->listView(TableKind::Flights), Qt::Key_Delete);
    QCOMPARE(document.Flights.count(), 1);
    QCOMPARE(document.Airlines.referenceCount(document.Airlines.FindItemByText("BA", 0)), 0);
    QVERIFY(m_form->statusText().startsWith(QStringLiteral("1 flight(s)")));
    QVERIFY(document.isModified());
}

void TestRecordDialogs::webLinks()
{
    select(TableKind::Airlines, {0});
    menuItem(m_form->contextMenu(TableKind::Airlines), "Airline Information")->trigger();
    select(TableKind::Airports, {});
    menuItem(m_form->contextMenu(TableKind::Airports), "Airport Information")->trigger();
    m_options.distanceCalculator = 1;
    select(TableKind::Distances, {0});
    menuItem(m_form->contextMenu(TableKind::Distances), "Distance Calculator")->trigger();
    m_options.distanceCalculator = 5;
    menuItem(m_form->contextMenu(TableKind::Distances), "Distance Calculator")->trigger();

    QCOMPARE(m_openedUrls.size(), 3);
    QVERIFY(m_openedUrls[0].toString().endsWith(
        QStringLiteral("/go/Airline/airlineDetails.do?airlineCode=BA")));
    QVERIFY(m_openedUrls[1].toString().endsWith(QStringLiteral("/go/Airport/airportDetails.do")));
    QVERIFY(m_openedUrls[2].toString().endsWith(
        QStringLiteral("/travel/milemarker/getmileage.php?city=JFK&city=LHR")));
}

QTEST_MAIN(TestRecordDialogs)
#include "tst_recorddialogs.moc"
