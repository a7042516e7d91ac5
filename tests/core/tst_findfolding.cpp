#include "components/FindFolding.h"

#include <QTest>

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(TFindOptions)

namespace
{

const TFindOptions defaultOptions = foIgnoreAccentedChars;

// The rows of a small table, searched through FindState as the view does.
struct Rows {
    QList<QStringList> rows;
    QString text;
    TFindOptions options = defaultOptions;

    FindState::Result search(FindState &state, QList<int> *hits = nullptr) const
    {
        const FindMatcher matcher(text, options);
        return state.search(
            int(rows.size()), [&](int r) { return matcher.matches(rows[r]); },
            [&](int r) {
                if (hits)
                    hits->append(r);
            });
    }
};

} // namespace

class TestFindFolding : public QObject
{
    Q_OBJECT

private slots:
    void foldText_data();
    void foldText();
    void foldsExactlyTheListedCharacters();
    void rowMatches_data();
    void rowMatches();
    void searchWalksDownAndReportsNoMoreInstances();
    void searchWithoutAnyMatchSaysNotFoundAndStartsOver();
    void refreshMovesTheStartToTheSelection();
    void hitOverridesARefreshMadeByTheClickItFires();
    void searchPastTheLastRowTestsNothing();
    void messages();
};

void TestFindFolding::foldText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<TFindOptions>("options");
    QTest::addColumn<QString>("folded");

    const TFindOptions none;
    QTest::newRow("accents and case") << u"Évora Ñandú"_s << defaultOptions << u"evora nandú"_s;
    QTest::newRow("ì and Ì stay") << u"ìÌíÍ"_s << defaultOptions << u"ìÌii"_s;
    QTest::newRow("ú and Ú stay") << u"úÚùÙ"_s << defaultOptions << u"úÚuu"_s;
    QTest::newRow("ø and Ø fold") << u"Øresund ø"_s << defaultOptions << u"oresund o"_s;
    QTest::newRow("quote marks") << u"`\u00B4\u2018\u2019'"_s << defaultOptions << u"'''''"_s;
    QTest::newRow("only A to Z lowered") << u"ÆÝŁ ABZ"_s << defaultOptions << u"ÆÝŁ abz"_s;
    QTest::newRow("case-sensitive keeps case")
        << u"Évora"_s << TFindOptions(foCaseSensitive | foIgnoreAccentedChars) << u"Evora"_s;
    QTest::newRow("accents kept") << u"Évora ÀB"_s << none << u"Évora Àb"_s;
    QTest::newRow("nothing folded")
        << u"Évora `"_s << TFindOptions(foCaseSensitive) << u"Évora `"_s;
    QTest::newRow("empty") << QString() << defaultOptions << QString();
}

void TestFindFolding::foldText()
{
    QFETCH(QString, text);
    QFETCH(TFindOptions, options);
    QFETCH(QString, folded);
    QCOMPARE(FoldFindText(text, options), folded);
}

void TestFindFolding::foldsExactlyTheListedCharacters()
{
    // Every Latin-1 and General Punctuation code point against the written-out table.
    const QString from = u"àáâãäåçèéêëíîïñòóôõöøùûüÀÁÂÃÄÅÇÈÉÊËÍÎÏÑÒÓÔÕÖØÙÛÜ`\u00B4\u2018\u2019"_s;
    const QString to = u"aaaaaaceeeeiiinoooooouuuAAAAAACEEEEIIINOOOOOOUUU''''"_s;
    QCOMPARE(from.size(), to.size());
    const TFindOptions accentsOnly = foIgnoreAccentedChars | foCaseSensitive;
    for (char16_t c = 1; c < 0x2100; ++c) {
        const qsizetype at = from.indexOf(QChar(c));
        const QChar expected = at >= 0 ? to[at] : QChar(c);
        QCOMPARE(FoldFindChar(QChar(c), accentsOnly), expected);
    }
}

void TestFindFolding::rowMatches_data()
{
    QTest::addColumn<QStringList>("cells");
    QTest::addColumn<QString>("text");
    QTest::addColumn<TFindOptions>("options");
    QTest::addColumn<bool>("matches");

    const QStringList cdg{u"CDG"_s, u"Charles de Gaulle"_s, u"Paris"_s, u"France"_s};
    const QStringList evora{u"EVO"_s, u"Évora Airport"_s, u"Évora"_s, u"Portugal"_s};
    const QStringList lodz{u"LCJ"_s, u"Łódź"_s, u"Łódź"_s, u"Poland"_s};
    const QStringList cancun{u"CUN"_s, u"Cancún"_s, u"Cancún"_s, u"Mexico"_s};
    const QStringList ohare{u"ORD"_s, u"O\u2019Hare"_s, u"Chicago"_s, u"United States"_s};

    QTest::newRow("first cell") << cdg << u"cdg"_s << defaultOptions << true;
    QTest::newRow("sub-cell, other case") << cdg << u"PARIS"_s << defaultOptions << true;
    QTest::newRow("substring across words") << cdg << u"es de g"_s << defaultOptions << true;
    QTest::newRow("not in any cell") << cdg << u"London"_s << defaultOptions << false;
    QTest::newRow("not across two cells") << cdg << u"ParisFrance"_s << defaultOptions << false;
    QTest::newRow("e finds É") << evora << u"e"_s << defaultOptions << true;
    QTest::newRow("évora finds Évora") << evora << u"évora"_s << defaultOptions << true;
    QTest::newRow("u misses ú") << cancun << u"cancun"_s << defaultOptions << false;
    QTest::newRow("ú finds ú") << cancun << u"cancún"_s << defaultOptions << true;
    QTest::newRow("ó folds, Ł does not") << lodz << u"lodz"_s << defaultOptions << false;
    QTest::newRow("Ł sought as itself") << lodz << u"łód"_s << defaultOptions << false;
    QTest::newRow("Ł with its own case") << lodz << u"Łod"_s << defaultOptions << true;
    QTest::newRow("apostrophe finds right quote") << ohare << u"o'hare"_s << defaultOptions << true;
    QTest::newRow("case-sensitive, wrong case")
        << cdg << u"paris"_s << TFindOptions(foCaseSensitive | foIgnoreAccentedChars) << false;
    QTest::newRow("case-sensitive, right case")
        << evora << u"Evora"_s << TFindOptions(foCaseSensitive | foIgnoreAccentedChars) << true;
    QTest::newRow("accents not ignored") << evora << u"evora"_s << TFindOptions() << false;
    QTest::newRow("accents not ignored, same accent")
        << evora << u"éVORA"_s << TFindOptions() << false;
    QTest::newRow("empty row") << QStringList() << u"x"_s << defaultOptions << false;
}

void TestFindFolding::rowMatches()
{
    QFETCH(QStringList, cells);
    QFETCH(QString, text);
    QFETCH(TFindOptions, options);
    QFETCH(bool, matches);
    QCOMPARE(RowMatchesFindText(cells, text, options), matches);
}

void TestFindFolding::searchWalksDownAndReportsNoMoreInstances()
{
    Rows table{{{u"JFK"_s}, {u"Paris"_s}, {u"LHR"_s}, {u"PARIS"_s}}, u"paris"_s};
    FindState state;
    state.reset();

    QList<int> hits;
    FindState::Result result = table.search(state, &hits);
    QCOMPARE(result.outcome, FindState::Outcome::Found);
    QCOMPARE(result.row, 1);
    QCOMPARE(state.startPosition(), 2);
    QCOMPARE(state.previousStartPosition(), 2);

    result = table.search(state, &hits);
    QCOMPARE(result.row, 3);
    QCOMPARE(state.startPosition(), 4);

    // After the last match, every further search says "no more" and keeps the positions.
    for (int i = 0; i < 2; ++i) {
        result = table.search(state, &hits);
        QCOMPARE(result.outcome, FindState::Outcome::NoMoreInstances);
        QCOMPARE(result.row, -1);
        QCOMPARE(state.startPosition(), 4);
        QCOMPARE(state.previousStartPosition(), 4);
    }
    QCOMPARE(hits, (QList<int>{1, 3}));
}

void TestFindFolding::searchWithoutAnyMatchSaysNotFoundAndStartsOver()
{
    Rows table{{{u"JFK"_s}, {u"LHR"_s}}, u"CDG"_s};
    FindState state;
    state.reset();
    state.refresh(1);
    QCOMPARE(table.search(state).outcome, FindState::Outcome::NotFound);
    QCOMPARE(state.startPosition(), 0);
    QCOMPARE(state.previousStartPosition(), -1);

    // An empty table says the same.
    const Rows empty{{}, u"x"_s};
    QCOMPARE(empty.search(state).outcome, FindState::Outcome::NotFound);
}

void TestFindFolding::refreshMovesTheStartToTheSelection()
{
    Rows table{{{u"a1"_s}, {u"a2"_s}, {u"b"_s}, {u"a3"_s}}, u"a"_s};
    FindState state;
    state.reset();
    QCOMPARE(table.search(state).row, 0);
    QCOMPARE(table.search(state).row, 1);
    QCOMPARE(table.search(state).row, 3);
    QCOMPARE(table.search(state).outcome, FindState::Outcome::NoMoreInstances);

    // A click on row 1 moves the start there; the previous position is left alone, so a
    // miss after that still says "no more".
    state.refresh(1);
    QCOMPARE(state.startPosition(), 1);
    QCOMPARE(state.previousStartPosition(), 4);
    QCOMPARE(table.search(state).row, 1);

    state.refresh(-1); // no selection: from the top
    QCOMPARE(state.startPosition(), 0);
    QCOMPARE(table.search(state).row, 0);

    table.text = u"zzz"_s;
    state.refresh(2);
    QCOMPARE(table.search(state).outcome, FindState::Outcome::NoMoreInstances);
    QCOMPARE(state.startPosition(), 2);
}

void TestFindFolding::hitOverridesARefreshMadeByTheClickItFires()
{
    const Rows table{{{u"x"_s}, {u"a"_s}, {u"x"_s}}, u"a"_s};
    FindState state;
    state.reset();
    const FindMatcher matcher(table.text, table.options);
    const FindState::Result result = state.search(
        3, [&](int r) { return matcher.matches(table.rows[r]); },
        [&](int r) { state.refresh(r); }); // as the main window's click handler does
    QCOMPARE(result.row, 1);
    QCOMPARE(state.startPosition(), 2);
}

void TestFindFolding::searchPastTheLastRowTestsNothing()
{
    FindState state;
    state.reset();
    state.refresh(10);
    int tested = 0;
    const FindState::Result result = state.search(3, [&](int) {
        ++tested;
        return true;
    });
    QCOMPARE(tested, 0);
    QCOMPARE(result.outcome, FindState::Outcome::NotFound);
}

void TestFindFolding::messages()
{
    QCOMPARE(FindState::message(FindState::Outcome::NotFound, u"Oslo"_s),
             u"Search string \"Oslo\" not found."_s);
    QCOMPARE(FindState::message(FindState::Outcome::NoMoreInstances, u"50%1"_s),
             u"No more instances of \"50%1\" found."_s);
}

QTEST_GUILESS_MAIN(TestFindFolding)
#include "tst_findfolding.moc"
