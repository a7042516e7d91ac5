#include "components/ui/FindDialog.h"
#include "components/ui/LumListView.h"
#include "components/ui/LumListViewModel.h"
#include "components/ui/MessageBoxes.h"
#include "model/LogTable.h"
#include "support/WindowTestSupport.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TFindOptions)

namespace
{

// A view over its own table, shown, with every message box answered and recorded.
struct Fixture {
    LogTable table;
    TLumListView view;
    WindowTests::MessageBoxRecorder messages;

    explicit Fixture(TableKind kind, const QList<QStringList> &rows = {}) : table(kind)
    {
        for (const QStringList &row : rows)
            table.appendRow(row);
        view.setTable(&table);
        view.setMultiSelection(true);
        view.resize(700, 400);
        view.show();
    }

    QStringList column(int c) const
    {
        QStringList texts;
        for (int r = 0; r < table.count(); ++r)
            texts.append(table.cell(r, c));
        return texts;
    }
    QStringList messageTexts() const
    {
        QStringList texts;
        for (const MessageBoxes::Request &request : messages.boxes) {
            if (request.kind == MessageBoxes::Kind::Plain && request.title == u"Search Results"_s)
                texts.append(request.text);
        }
        return texts;
    }
    void clickHeader(int column)
    {
        QHeaderView *header = view.horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + 20, header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
    }
    void clickRow(int row)
    {
        const QRect cell = view.visualRect(view.model()->index(row, 0));
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell.center());
    }
    QImage headerArrow(int column) const
    {
        const QVariant decoration =
            view.model()->headerData(column, Qt::Horizontal, Qt::DecorationRole);
        if (!decoration.isValid())
            return QImage();
        return decoration.value<QIcon>().pixmap(9, 6).toImage().convertToFormat(
            QImage::Format_ARGB32);
    }
};

QImage arrowImage(bool up)
{
    return MakeSortArrow(up).toImage().convertToFormat(QImage::Format_ARGB32);
}

const QList<QStringList> airports{
    {u"JFK"_s, u"John F Kennedy"_s, u"New York"_s, u"United States"_s},
    {u"CDG"_s, u"Charles de Gaulle"_s, u"Paris"_s, u"France"_s},
    {u"EVO"_s, u"Évora"_s, u"Évora"_s, u"Portugal"_s},
    {u"CUN"_s, u"Cancún"_s, u"Cancún"_s, u"Mexico"_s},
    {u"ORY"_s, u"Orly"_s, u"Paris"_s, u"France"_s},
};

} // namespace

class TestLumListView : public QObject
{
    Q_OBJECT

private slots:
    void setsUpAsAReport();
    void sortArrowsAreGreyTriangles();
    void headerClicksSortAndMoveTheArrow();
    void headerSortIsStable();
    void sortFromCodeMovesTheArrow();
    void selectionFollowsTheSortedRows();
    void findFoldsAccentsAndCase_data();
    void findFoldsAccentsAndCase();
    void findWalksDownThenSaysNoMore();
    void findRefreshAfterAClickStartsAtTheClickedRow();
    void findDialogSearchesAndCloses();
    void findOnAnEmptyViewSaysNotFound();
    void customFindDecidesTheRowsItHandles();
    void keysAreRouted();
    void ctrlFNeedsRowsAndNoOtherModifier();
    void doubleClickOnARow();
    void greyRowsForUnknownDistances();
    void selectionHelpers();
    void largeTable();
};

void TestLumListView::setsUpAsAReport()
{
    Fixture f(TableKind::Airports, airports);
    QCOMPARE(f.view.horizontalHeader()->sectionSize(0), 100);
    QCOMPARE(f.view.horizontalHeader()->sectionSize(1), 400);
    QCOMPARE(f.view.horizontalHeader()->sectionSize(2), 250);
    QCOMPARE(f.view.horizontalHeader()->sectionSize(3), 200);
    QCOMPARE(f.view.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(f.view.selectionMode(), QAbstractItemView::ExtendedSelection);
    QCOMPARE(f.view.editTriggers(), QAbstractItemView::NoEditTriggers);
    QVERIFY(!f.view.verticalHeader()->isVisible());
    QCOMPARE(f.view.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    const QPalette colours = f.view.palette();
    QCOMPARE(colours.color(QPalette::Inactive, QPalette::Highlight),
             colours.color(QPalette::Active, QPalette::Highlight));
    QCOMPARE(f.view.LastSortIndex(), -1);
    QVERIFY(f.view.LastSortAscending());
    for (int c = 0; c < 4; ++c)
        QVERIFY(f.headerArrow(c).isNull());

    // Emptying the table keeps the widths, including one that the user dragged.
    f.view.horizontalHeader()->resizeSection(1, 321);
    f.table.clear();
    QCOMPARE(f.view.horizontalHeader()->sectionSize(0), 100);
    QCOMPARE(f.view.horizontalHeader()->sectionSize(1), 321);
    f.view.setMultiSelection(false);
    QCOMPARE(f.view.selectionMode(), QAbstractItemView::SingleSelection);

    // The row icon stands in front of the first cell only.
    QPixmap icon(16, 16);
    icon.fill(Qt::red);
    f.table.appendRow({u"A"_s, u"B"_s});
    f.view.setRowIcon(QIcon(icon));
    QVERIFY(!f.view.model()->index(0, 0).data(Qt::DecorationRole).value<QIcon>().isNull());
    QVERIFY(!f.view.model()->index(0, 1).data(Qt::DecorationRole).isValid());
}

void TestLumListView::sortArrowsAreGreyTriangles()
{
    for (bool up : {true, false}) {
        const QImage arrow = arrowImage(up);
        QCOMPARE(arrow.size(), QSize(9, 6));
        // The widest line is the base, the single pixel the tip; the corners are transparent.
        const int base = up ? 5 : 0;
        const int tip = up ? 1 : 4;
        for (int x = 0; x < 9; ++x)
            QCOMPARE(arrow.pixel(x, base), qRgba(0xAC, 0xA8, 0x99, 0xFF));
        QCOMPARE(arrow.pixel(4, tip), qRgba(0xAC, 0xA8, 0x99, 0xFF));
        QCOMPARE(qAlpha(arrow.pixel(3, tip)), 0);
        QCOMPARE(qAlpha(arrow.pixel(0, tip)), 0);
    }
    QVERIFY(arrowImage(true) != arrowImage(false));
}

void TestLumListView::headerClicksSortAndMoveTheArrow()
{
    Fixture f(TableKind::Airports, airports);

    f.clickHeader(0);
    QCOMPARE(f.column(0), (QStringList{u"CDG"_s, u"CUN"_s, u"EVO"_s, u"JFK"_s, u"ORY"_s}));
    QCOMPARE(f.view.LastSortIndex(), 0);
    QVERIFY(f.view.LastSortAscending());
    QCOMPARE(f.headerArrow(0), arrowImage(true));

    f.clickHeader(0);
    QCOMPARE(f.column(0), (QStringList{u"ORY"_s, u"JFK"_s, u"EVO"_s, u"CUN"_s, u"CDG"_s}));
    QVERIFY(!f.view.LastSortAscending());
    QCOMPARE(f.headerArrow(0), arrowImage(false));

    // Another column starts ascending and takes the arrow away from the first.
    f.clickHeader(3);
    QCOMPARE(f.view.LastSortIndex(), 3);
    QVERIFY(f.view.LastSortAscending());
    QVERIFY(f.headerArrow(0).isNull());
    QCOMPARE(f.headerArrow(3), arrowImage(true));
    QCOMPARE(f.column(3), (QStringList{u"France"_s, u"France"_s, u"Mexico"_s, u"Portugal"_s,
                                       u"United States"_s}));
}

void TestLumListView::headerSortIsStable()
{
    // Codes that differ only in case compare equal, so they keep their order both ways.
    Fixture f(TableKind::Airlines, {{u"abc"_s, u"first"_s},
                                    {u"ZZZ"_s, u"z"_s},
                                    {u"ABC"_s, u"second"_s},
                                    {u"Abc"_s, u"third"_s}});
    f.clickHeader(0);
    QCOMPARE(f.column(1), (QStringList{u"first"_s, u"second"_s, u"third"_s, u"z"_s}));
    f.clickHeader(0);
    QCOMPARE(f.column(1), (QStringList{u"z"_s, u"first"_s, u"second"_s, u"third"_s}));
}

void TestLumListView::sortFromCodeMovesTheArrow()
{
    Fixture f(TableKind::Distances,
              {{u"CDG"_s, u"JFK"_s, u"3635"_s}, {u"AMS"_s, u"LHR"_s, u"230"_s}});
    QSignalSpy headerChanges(f.view.model(), &QAbstractItemModel::headerDataChanged);

    // A named sort runs on the table itself, as the main window does.
    f.table.Sort(2, true);
    QCOMPARE(f.column(2), (QStringList{u"230"_s, u"3635"_s}));
    QCOMPARE(f.headerArrow(2), arrowImage(true));
    QVERIFY(!headerChanges.isEmpty());

    f.view.Sort(1, false);
    QCOMPARE(f.view.LastSortIndex(), 1);
    QVERIFY(f.headerArrow(2).isNull());
    QCOMPARE(f.headerArrow(1), arrowImage(false));
    QCOMPARE(f.column(1), (QStringList{u"LHR"_s, u"JFK"_s}));

    // SortAsIs repeats the last sort after rows were added; the arrow stays.
    f.table.appendRow({u"BOS"_s, u"ZRH"_s, u"3700"_s});
    f.view.SortAsIs();
    QCOMPARE(f.column(1), (QStringList{u"ZRH"_s, u"LHR"_s, u"JFK"_s}));
    QCOMPARE(f.headerArrow(1), arrowImage(false));

    // A column that does not exist changes nothing.
    f.view.Sort(7, true);
    QCOMPARE(f.view.LastSortIndex(), 1);

    // A view set onto an already sorted table shows its arrow at once.
    TLumListView other;
    other.setTable(&f.table);
    QVERIFY(!other.model()->headerData(1, Qt::Horizontal, Qt::DecorationRole).isNull());
}

void TestLumListView::selectionFollowsTheSortedRows()
{
    Fixture f(TableKind::Airports, airports);
    f.view.selectOnly(0); // JFK
    f.clickHeader(0);
    QCOMPARE(f.view.selectedRows(), QList<int>{3});
    QCOMPARE(f.table.cell(f.view.firstSelectedRow(), 0), u"JFK"_s);
}

void TestLumListView::findFoldsAccentsAndCase_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TFindOptions>("options");
    QTest::addColumn<int>("row");

    const TFindOptions standard = foIgnoreAccentedChars;
    QTest::newRow("e finds É") << u"évora"_s << standard << 2;
    QTest::newRow("case ignored") << u"PARIS"_s << standard << 1;
    QTest::newRow("ú is not folded") << u"cancun"_s << standard << -1;
    QTest::newRow("ú sought as ú") << u"ncún"_s << standard << 3;
    QTest::newRow("case-sensitive")
        << u"paris"_s << TFindOptions(foCaseSensitive | foIgnoreAccentedChars) << -1;
    QTest::newRow("accents kept") << u"evora"_s << TFindOptions() << -1;
}

void TestLumListView::findFoldsAccentsAndCase()
{
    QFETCH(QString, text);
    QFETCH(TFindOptions, options);
    QFETCH(int, row);

    Fixture f(TableKind::Airports, airports);
    f.view.FindOptions = options;
    QSignalSpy clicks(&f.view, &TLumListView::rowClicked);
    f.view.FindText(text);
    if (row < 0) {
        QCOMPARE(f.messageTexts(), QStringList{u"Search string \"%1\" not found."_s.arg(text)});
        QCOMPARE(clicks.count(), 0);
        QCOMPARE(f.view.selectedCount(), 0);
    } else {
        QVERIFY(f.messages.boxes.isEmpty());
        QCOMPARE(f.view.selectedRows(), QList<int>{row});
        QCOMPARE(f.view.currentIndex().row(), row);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(f.view.findStartPosition(), row + 1);
    }
}

void TestLumListView::findWalksDownThenSaysNoMore()
{
    Fixture f(TableKind::Airports, airports);
    f.view.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&f.view));
    f.view.clearFocus();
    f.view.selectOnly(4);
    f.view.FindText(u"france"_s);
    QCOMPARE(f.view.selectedRows(), QList<int>{1}); // the earlier selection is cleared
    QVERIFY(f.view.hasFocus());
    f.view.FindNext();
    QCOMPARE(f.view.selectedRows(), QList<int>{4});
    QVERIFY(f.messages.boxes.isEmpty());

    f.view.FindNext();
    f.view.FindNext();
    const QString noMore = u"No more instances of \"france\" found."_s;
    QCOMPARE(f.messageTexts(), (QStringList{noMore, noMore}));
    QCOMPARE(f.messages.boxes.first().kind, MessageBoxes::Kind::Plain);
    QCOMPARE(f.view.selectedRows(), QList<int>{4}); // a miss leaves the selection alone
    f.view.clearFocus();
    f.view.FindNext();
    QVERIFY(f.view.hasFocus()); // after a message too

    // A new search starts at the top again.
    f.messages.boxes.clear();
    f.view.FindText(u"france"_s);
    QCOMPARE(f.view.selectedRows(), QList<int>{1});
    QVERIFY(f.messages.boxes.isEmpty());
}

void TestLumListView::findRefreshAfterAClickStartsAtTheClickedRow()
{
    Fixture f(TableKind::Airports, airports);
    // The main window's click handler, outside processing.
    QObject::connect(&f.view, &TLumListView::rowClicked, &f.view, &TLumListView::FindRefresh);

    f.view.FindText(u"a"_s); // JFK row: "United States"
    QCOMPARE(f.view.selectedRows(), QList<int>{0});
    f.clickRow(3);
    QCOMPARE(f.view.selectedRows(), QList<int>{3});
    QCOMPARE(f.view.findStartPosition(), 3);
    f.view.FindNext(); // the clicked row is tested first
    QCOMPARE(f.view.selectedRows(), QList<int>{3});
    QCOMPARE(f.view.findStartPosition(), 4);
    f.view.FindNext();
    QCOMPARE(f.view.selectedRows(), QList<int>{4});
    f.view.FindNext();
    QCOMPARE(f.messageTexts(), QStringList{u"No more instances of \"a\" found."_s});

    // A click that leaves nothing selected starts over at the top.
    f.view.clearSelection();
    f.view.FindRefresh();
    QCOMPARE(f.view.findStartPosition(), 0);
}

void TestLumListView::findDialogSearchesAndCloses()
{
    Fixture f(TableKind::Airports, airports);
    f.view.Find();
    FindDialog *dialog = f.view.findDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->isModal());
    QCOMPARE(dialog->windowTitle(), u"Find"_s);
    QVERIFY(dialog->text().isEmpty());
    QVERIFY(!dialog->findNextButton()->isEnabled());
    QVERIFY(dialog->findNextButton()->isDefault());

    f.view.FindNext(); // nothing to seek yet
    QVERIFY(f.messages.boxes.isEmpty());
    QVERIFY(dialog->isVisible());

    QTest::keyClicks(dialog->textEdit(), u"paris"_s);
    QTest::mouseClick(dialog->findNextButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(f.view.selectedRows(), QList<int>{1});

    // The text stays for F3 after the dialog closed.
    QTest::keyClick(&f.view, Qt::Key_F3);
    QCOMPARE(f.view.selectedRows(), QList<int>{4});

    // A new Find replaces the dialog with an empty one and starts at the top.
    f.view.Find();
    QVERIFY(f.view.findDialog() != dialog);
    QVERIFY(f.view.findDialog()->text().isEmpty());
    QCOMPARE(f.view.findStartPosition(), 0);
    QTest::keyClicks(f.view.findDialog()->textEdit(), u"paris"_s);
    QTest::mouseClick(f.view.findDialog()->findNextButton(), Qt::LeftButton);
    QCOMPARE(f.view.selectedRows(), QList<int>{1});

    // Cancel only closes.
    f.view.Find();
    QTest::mouseClick(f.view.findDialog()->cancelButton(), Qt::LeftButton);
    QVERIFY(!f.view.findDialog()->isVisible());
    QVERIFY(f.messages.boxes.isEmpty());
}

void TestLumListView::findOnAnEmptyViewSaysNotFound()
{
    Fixture f(TableKind::Airports);
    f.view.Find();
    QTest::keyClicks(f.view.findDialog()->textEdit(), u"Oslo"_s);
    QTest::mouseClick(f.view.findDialog()->findNextButton(), Qt::LeftButton);
    QCOMPARE(f.messageTexts(), QStringList{u"Search string \"Oslo\" not found."_s});
    QVERIFY(!f.view.findDialog()->isVisible());
    // Still nothing found since Find began: the same message again.
    f.view.FindNext();
    QCOMPARE(f.messageTexts().size(), 2);
    QCOMPARE(f.messageTexts().last(), u"Search string \"Oslo\" not found."_s);
}

void TestLumListView::customFindDecidesTheRowsItHandles()
{
    Fixture f(TableKind::Airports, airports);
    QList<int> asked;
    // Handles the first three rows (matching only row 2); the others fall back to the text.
    f.view.OnCustomFind = [&](TLumListView *sender, int row, const QString &text, bool &res) {
        if (sender != &f.view || text != u"paris"_s)
            return false;
        asked.append(row);
        if (row > 2)
            return false;
        res = row == 2;
        return true;
    };
    f.view.FindText(u"paris"_s);
    QCOMPARE(f.view.selectedRows(), QList<int>{2});
    f.view.FindNext();
    QCOMPARE(f.view.selectedRows(), QList<int>{4}); // row 3 fell back and does not match
    QCOMPARE(asked, (QList<int>{0, 1, 2, 3, 4}));
}

void TestLumListView::keysAreRouted()
{
    Fixture f(TableKind::Airports, airports);
    QSignalSpy deletes(&f.view, &TLumListView::deletePressed);
    QSignalSpy enters(&f.view, &TLumListView::enterPressed);

    QTest::keyClick(&f.view, Qt::Key_Delete);
    QTest::keyClick(&f.view, Qt::Key_Return);
    QTest::keyClick(&f.view, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(deletes.count(), 1);
    QCOMPARE(enters.count(), 2);

    // F3 without a search yet does nothing; after one, it finds the next match.
    QTest::keyClick(&f.view, Qt::Key_F3);
    QVERIFY(f.messages.boxes.isEmpty());
    f.view.FindText(u"france"_s);
    QTest::keyClick(&f.view, Qt::Key_F3);
    QCOMPARE(f.view.selectedRows(), QList<int>{4});
    QTest::keyClick(&f.view, Qt::Key_F3);
    QCOMPARE(f.messageTexts(), QStringList{u"No more instances of \"france\" found."_s});

    QTest::keyClick(&f.view, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(f.view.findDialog()->isVisible());
    QVERIFY(f.view.findDialog()->text().isEmpty());
}

void TestLumListView::ctrlFNeedsRowsAndNoOtherModifier()
{
    Fixture empty(TableKind::Airports);
    QTest::keyClick(&empty.view, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(!empty.view.findDialog());
    QTest::keyClick(&empty.view, Qt::Key_F3);
    QVERIFY(empty.messages.boxes.isEmpty());

    Fixture f(TableKind::Airports, airports);
    QTest::keyClick(&f.view, Qt::Key_F, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!f.view.findDialog());
    QTest::keyClick(&f.view, Qt::Key_F);
    QVERIFY(!f.view.findDialog());
}

void TestLumListView::doubleClickOnARow()
{
    Fixture f(TableKind::Airports, airports);
    QSignalSpy doubles(&f.view, &TLumListView::rowDoubleClicked);
    const QPoint row2 = f.view.visualRect(f.view.model()->index(2, 1)).center();
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, row2);
    QCOMPARE(doubles.count(), 1);
    QCOMPARE(f.view.selectedRows(), QList<int>{2});

    // Below the last row there is no row to double-click.
    const QPoint below(10, f.view.viewport()->height() - 2);
    QVERIFY(!f.view.indexAt(below).isValid());
    QTest::mouseDClick(f.view.viewport(), Qt::LeftButton, {}, below);
    QCOMPARE(doubles.count(), 1);
}

void TestLumListView::greyRowsForUnknownDistances()
{
    Fixture f(TableKind::Distances, {{u"CDG"_s, u"JFK"_s, u"0"_s},
                                     {u"AMS"_s, u"LHR"_s, u"00"_s},
                                     {u"BOS"_s, u"ZRH"_s, u"3700"_s},
                                     {u"BOS"_s, u"ZRH"_s, u""_s}});
    const QColor grey = f.view.palette().color(QPalette::Disabled, QPalette::Text);
    QVERIFY(grey != f.view.palette().color(QPalette::Active, QPalette::Text));
    const auto foreground = [&](int row, int column) {
        return f.view.model()->index(row, column).data(Qt::ForegroundRole);
    };
    QVERIFY(!foreground(0, 0).isValid()); // off until the main window switches it on

    f.view.setGreyZeroMilesRows(true);
    for (int c = 0; c < 3; ++c) {
        QCOMPARE(foreground(0, c).value<QColor>(), grey);
        QVERIFY(!foreground(1, c).isValid());
        QVERIFY(!foreground(2, c).isValid());
        QVERIFY(!foreground(3, c).isValid());
    }
    // The colour follows the cell as it changes and as the rows move.
    f.table.setCell(2, 2, u"0"_s);
    QCOMPARE(foreground(2, 0).value<QColor>(), grey);
    f.view.Sort(0, true); // AMS, BOS, BOS, CDG
    QCOMPARE(foreground(1, 1).value<QColor>(), grey);
    QCOMPARE(foreground(3, 1).value<QColor>(), grey);
    QVERIFY(!foreground(0, 1).isValid());

    f.view.setGreyZeroMilesRows(false);
    QVERIFY(!foreground(1, 1).isValid());
}

void TestLumListView::selectionHelpers()
{
    Fixture f(TableKind::Airports, airports);
    QCOMPARE(f.view.firstSelectedRow(), -1);
    QCOMPARE(f.view.selectedCount(), 0);
    QVERIFY(f.view.selectedRows().isEmpty());

    f.clickRow(3);
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::ControlModifier,
                      f.view.visualRect(f.view.model()->index(1, 0)).center());
    QTest::mouseClick(f.view.viewport(), Qt::LeftButton, Qt::ShiftModifier,
                      f.view.visualRect(f.view.model()->index(4, 0)).center());
    QCOMPARE(f.view.selectedRows(), (QList<int>{1, 2, 3, 4}));
    QCOMPARE(f.view.selectedCount(), 4);
    QCOMPARE(f.view.firstSelectedRow(), 1);

    f.view.selectAll();
    QCOMPARE(f.view.selectedCount(), 5);

    f.view.selectOnly(2);
    QCOMPARE(f.view.selectedRows(), QList<int>{2});
    QCOMPARE(f.view.currentIndex().row(), 2);
    f.view.selectOnly(99); // no such row: nothing changes
    QCOMPARE(f.view.selectedRows(), QList<int>{2});
}

void TestLumListView::largeTable()
{
    const int rows = 200000;
    LogTable table(TableKind::Flights);
    table.beginBulkLoad();
    for (int r = 0; r < rows; ++r)
        table.appendRow({u"2023-01-05"_s, u"07:45"_s, u"JFK"_s, u"CDG"_s, u"AF"_s,
                         QString::number(r).rightJustified(6, u'0')});
    table.setCell(rows - 1, 3, u"Évora"_s);
    table.endBulkLoad();

    Fixture f(TableKind::Flights);
    f.view.setTable(&table);
    QCOMPARE(f.view.model()->rowCount(), rows);
    QVERIFY(f.view.findChildren<QWidget *>().size() < 50); // no widget per row

    f.view.FindText(u"evora"_s);
    QCOMPARE(f.view.selectedRows(), QList<int>{rows - 1});
    QVERIFY(f.view.viewport()->rect().intersects(
        f.view.visualRect(f.view.model()->index(rows - 1, 0))));

    f.view.selectAll();
    QCOMPARE(f.view.selectedCount(), rows);
    QCOMPARE(f.view.firstSelectedRow(), 0);

    f.view.Sort(5, false);
    QCOMPARE(table.cell(0, 5), u"199999"_s);
    QCOMPARE(f.view.selectedCount(), rows);
}

QTEST_MAIN(TestLumListView)
#include "tst_lumlistview.moc"
