#include "components/TextHelpers.h"
#include "components/ui/LumListView.h"
#include "model/LogDocument.h"
#include "options/WingbookOptions.h"
#include "platform/SpecialFolders.h"
#include "statistics/ui/WingbookUnit8.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(RankingKind)

namespace
{

const QDateTime kNow(QDate(2024, 6, 1), QTime(12, 0));

// Four flights over a year; counts as reading the log leaves them.
void fillLog(LogDocument &document)
{
    const QStringList flights[] = {{"2023-05-01", "08:00", "JFK", "LAX", "AA", "100"},
                                   {"2023-09-01", "09:30", "LAX", "JFK", "AA", "101"},
                                   {"2024-01-15", "18:45", "JFK", "LHR", "BA", "178"},
                                   {"2024-05-02", "07:10", "LHR", "CDG", "BA", "306"}};
    for (const QStringList &f : flights)
        document.Flights.appendRow(f);
    for (const char *code : {"AA", "BA", "AF"})
        document.Airlines.appendRow({QString::fromLatin1(code), {}});
    for (const char *code : {"CDG", "JFK", "LAX", "LHR"})
        document.Airports.appendRow({QString::fromLatin1(code), {}, {}, {}});
    document.Distances.appendRow({"JFK", "LAX", "2475"});
    document.Distances.appendRow({"JFK", "LHR", "3451"});
    document.Distances.appendRow({"CDG", "LHR", "216"});
    document.countReferences();
}

QStringList labelTexts(const QWidget *group)
{
    QStringList texts;
    for (const QLabel *label : group->findChildren<QLabel *>())
        texts.append(label->text());
    return texts;
}

} // namespace

class TestStatisticsWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void layoutCaptions();
    void figuresShown();
    void countLabelFollowsPage_data();
    void countLabelFollowsPage();
    void refillShowsFirstPage();
    void exportDialogRequest_data();
    void exportDialogRequest();
    void exportByExtension_data();
    void exportByExtension();
    void failedExportReported();
    void closeAnswersEnterAndEscape_data();
    void closeAnswersEnterAndEscape();

private:
    TForm8 *m_form = nullptr;
    LogDocument *m_document = nullptr;
    OptionSet m_options;
    WindowTests::MessageBoxRecorder m_boxes;
    WindowTests::FileDialogRecorder m_dialogs;
};

void TestStatisticsWindow::init()
{
    delete m_form;
    delete m_document;
    m_form = new TForm8;
    m_document = new LogDocument;
    m_options = OptionSet();
    m_boxes.clear();
    m_dialogs.clear();
    fillLog(*m_document);
}

void TestStatisticsWindow::layoutCaptions()
{
    QCOMPARE(m_form->windowTitle(), u"Statistics"_s);
    const QList<QGroupBox *> groups = m_form->findChildren<QGroupBox *>();
    QCOMPARE(groups.size(), 2);
    QCOMPARE(groups[0]->title(), u"Flights"_s);
    QCOMPARE(groups[1]->title(), u"Date Time"_s);
    const QStringList flightTitles{u"Total number of flights :"_s,
                                   u"Total number of miles :"_s,
                                   u"Average number of miles per flight :"_s,
                                   u"Average number of flights per year :"_s,
                                   u"Average number of flights per month :"_s,
                                   u"Average number of flights per week :"_s};
    for (const QString &title : flightTitles)
        QVERIFY2(labelTexts(groups[0]).contains(title), qPrintable(title));
    QVERIFY(labelTexts(groups[1]).contains(u"Start date time :"_s));
    QVERIFY(labelTexts(groups[1]).contains(u"End date time :"_s));

    QTabWidget *tabs = m_form->StatisticsPageControl;
    QCOMPARE(tabs->count(), 3);
    QCOMPARE(tabs->tabText(0), u"Airlines"_s);
    QCOMPARE(tabs->tabText(1), u"Airports"_s);
    QCOMPARE(tabs->tabText(2), u"Distances"_s);
    QStringList distanceCaptions;
    for (int c = 0; c < 4; ++c)
        distanceCaptions.append(
            m_form->DistancesLumListView->model()->headerData(c, Qt::Horizontal).toString());
    QCOMPARE(distanceCaptions, (QStringList{"From", "To", "Flights", "% Flights"}));
    QCOMPARE(m_form->CountLabel->text(), u"0 airline(s)"_s);
    QCOMPARE(m_form->CloseButton->text(), u"Close"_s);
    for (RankingKind kind :
         {RankingKind::Airlines, RankingKind::Airports, RankingKind::Distances}) {
        const QList<QAction *> items = m_form->PopupMenu(kind)->actions();
        QCOMPARE(items.size(), 1);
        QCOMPARE(items.first()->text(), u"Export..."_s);
    }
}

void TestStatisticsWindow::figuresShown()
{
    m_form->fill(*m_document, m_options, kNow);
    QStringList values;
    for (const QLabel *label : m_form->ValueLabels)
        values.append(label->text());
    // 2475 * 2 + 3451 + 216 = 8617 miles over 4 flights; 2023-05-01 to 2024-05-02 is just under 367
    // days.
    const QString minutes = QString(RegionalSettings::system().timeSeparator);
    QCOMPARE(values,
             (QStringList{QString::number(4), FormatCount(8617), FormatCount(2154), u"4.00"_s,
                          u"0.33"_s, u"0.08"_s, u"2023-05-01 08"_s + minutes + u"00"_s,
                          u"2024-05-02 07"_s + minutes + u"10"_s}));
    // The lists show the rankings, largest count first, with the sort arrow on "Flights".
    TLumListView *airports = m_form->AirportsLumListView;
    QCOMPARE(airports->model()->rowCount(), 4);
    QCOMPARE(airports->model()->index(0, 0).data().toString(), u"JFK"_s);
    QCOMPARE(airports->model()->index(0, 1).data().toString(), u"3"_s);
    QCOMPARE(airports->model()->index(0, 2).data().toString(), u"75.00"_s);
    QCOMPARE(airports->LastSortIndex(), 1);
    QVERIFY(!airports->LastSortAscending());
    // The log is left as it was.
    QCOMPARE(m_document->Airports.cell(0, 0), u"CDG"_s);
}

void TestStatisticsWindow::countLabelFollowsPage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("label");

    QTest::newRow("airlines") << 0 << u"3 airline(s)"_s;
    QTest::newRow("airports") << 1 << u"4 airport(s)"_s;
    QTest::newRow("distances") << 2 << u"3 distance(s)"_s;
}

void TestStatisticsWindow::countLabelFollowsPage()
{
    QFETCH(int, page);
    QFETCH(QString, label);
    m_form->fill(*m_document, m_options, kNow);
    m_form->StatisticsPageControl->setCurrentIndex(page);
    QCOMPARE(m_form->CountLabel->text(), label);
}

void TestStatisticsWindow::refillShowsFirstPage()
{
    m_form->fill(*m_document, m_options, kNow);
    m_form->StatisticsPageControl->setCurrentIndex(2);
    LogDocument empty;
    empty.Airlines.appendRow({"AA", "American"});
    m_form->fill(empty, m_options, kNow);
    QCOMPARE(m_form->StatisticsPageControl->currentIndex(), 0);
    QCOMPARE(m_form->CountLabel->text(), u"1 airline(s)"_s);
    QCOMPARE(m_form->DistancesLumListView->model()->rowCount(), 0);
    QCOMPARE(m_form->ValueLabels[0]->text(), u"0"_s);
    QCOMPARE(m_form->ValueLabels[6]->text(), u"n/a"_s);
}

void TestStatisticsWindow::exportDialogRequest_data()
{
    QTest::addColumn<QString>("documentFileName");
    QTest::addColumn<bool>("prompt");
    QTest::addColumn<QString>("folder");

    QTest::newRow("log folder, prompt on") << u"/logs/2024/trip.xml"_s << true << u"/logs/2024"_s;
    QTest::newRow("no log: documents folder, prompt off")
        << QString() << false << PersonalDocumentsFolder();
}

void TestStatisticsWindow::exportDialogRequest()
{
    QFETCH(QString, documentFileName);
    QFETCH(bool, prompt);
    QFETCH(QString, folder);
    m_document->DocumentFileName = documentFileName;
    m_options.promptBeforeOverwriting = prompt;
    m_form->fill(*m_document, m_options, kNow);
    m_form->PopupMenu(RankingKind::Airports)->actions().first()->trigger();
    QCOMPARE(m_dialogs.requests.size(), 1);
    const FileDialogs::Request &request = m_dialogs.requests.first();
    QVERIFY(request.save);
    QCOMPARE(request.title, u"Export"_s);
    QCOMPARE(request.filters, (QStringList{"CSV files (*.csv)", "All files (*.*)"}));
    QCOMPARE(request.filterIndex, 0);
    QCOMPARE(request.defaultExtension, u"csv"_s);
    QCOMPARE(request.folder, folder);
    QVERIFY(request.proposedName.isEmpty());
    QCOMPARE(request.overwritePrompt, prompt);
    QVERIFY(m_boxes.boxes.isEmpty());
}

void TestStatisticsWindow::exportByExtension_data()
{
    QTest::addColumn<RankingKind>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("firstLines");

    QTest::newRow("airlines by code")
        << RankingKind::Airlines << u"airlines.csv"_s
        << QByteArray("\"Airline\",\"Flights\",\"% Flights\"\r\n\"AA\",\"2\",\"50.00\"\r\n"
                      "\"AF\",\"0\",\"0.00\"\r\n");
    QTest::newRow("distances by From code")
        << RankingKind::Distances << u"routes.csv"_s
        << QByteArray("\"From\",\"To\",\"Flights\",\"% Flights\"\r\n"
                      "\"CDG\",\"LHR\",\"1\",\"25.00\"\r\n");
    QTest::newRow("upper-case CSV: nothing")
        << RankingKind::Airlines << u"stats.CSV"_s << QByteArray();
    QTest::newRow("txt: nothing") << RankingKind::Airports << u"stats.txt"_s << QByteArray();
}

void TestStatisticsWindow::exportByExtension()
{
    QFETCH(RankingKind, kind);
    QFETCH(QString, name);
    QFETCH(QByteArray, firstLines);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    m_dialogs.answers.append({true, path, 0});
    m_form->fill(*m_document, m_options, kNow);
    m_form->PopupMenu(kind)->actions().first()->trigger();
    QVERIFY(m_boxes.boxes.isEmpty());
    QFile file(path);
    if (firstLines.isEmpty()) {
        QVERIFY(!file.exists());
        return;
    }
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(file.readAll().startsWith(firstLines), qPrintable(path));
}

void TestStatisticsWindow::failedExportReported()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"missing/folder/ranking.csv"_s);
    m_dialogs.answers.append({true, path, 0});
    m_form->fill(*m_document, m_options, kNow);
    m_form->PopupMenu(RankingKind::Distances)->actions().first()->trigger();
    QCOMPARE(m_boxes.boxes.size(), 1);
    QCOMPARE(m_boxes.boxes.first().kind, MessageBoxes::Kind::Error);
    QVERIFY2(m_boxes.boxes.first().text.contains(path), qPrintable(m_boxes.boxes.first().text));
}

void TestStatisticsWindow::closeAnswersEnterAndEscape_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("focusOnList");

    QTest::newRow("Escape") << int(Qt::Key_Escape) << false;
    QTest::newRow("Enter") << int(Qt::Key_Return) << false;
    QTest::newRow("Enter in a list") << int(Qt::Key_Return) << true;
    QTest::newRow("Escape in a list") << int(Qt::Key_Escape) << true;
}

void TestStatisticsWindow::closeAnswersEnterAndEscape()
{
    QFETCH(int, key);
    QFETCH(bool, focusOnList);
    m_form->fill(*m_document, m_options, kNow);
    QWidget *target = focusOnList ? static_cast<QWidget *>(m_form->AirlinesLumListView)
                                  : static_cast<QWidget *>(m_form->CloseButton);
    bool closed = false;
    QTimer::singleShot(0, this, [&] {
        target->setFocus();
        QTest::keyClick(target, Qt::Key(key));
        closed = !m_form->isVisible();
        if (!closed)
            m_form->reject();
    });
    m_form->exec();
    QVERIFY(closed);
}

QTEST_MAIN(TestStatisticsWindow)
#include "tst_statisticswindow.moc"
