#include "components/LumBreakApart.h"
#include "components/TextHelpers.h"

#include <QLocale>
#include <QTest>

#include <locale.h>

#include <limits>

using namespace Qt::StringLiterals;

// Q stands for one double quote in the texts of the quote-mode tables, which keeps them readable.
static QString q(QString text)
{
    return text.replace(u'Q', u'"');
}

static QStringList q(const QStringList &items)
{
    QStringList result;
    for (const QString &item : items)
        result.append(q(item));
    return result;
}

static bool localeInstalled(const QByteArray &name)
{
    locale_t probe = newlocale(LC_TIME_MASK, name.constData(), locale_t(nullptr));
    if (probe == locale_t(nullptr))
        return false;
    freelocale(probe);
    return true;
}

class TestTextServices : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void breakApart_data();
    void breakApart();
    void breakApartQuoteMode_data();
    void breakApartQuoteMode();
    void breakApartReusesComponent();
    void reverseBreakApart_data();
    void reverseBreakApart();
    void quoteModeRoundTrip();

    void textBeforeAfter_data();
    void textBeforeAfter();
    void textBetween_data();
    void textBetween();
    void trimQuotes_data();
    void trimQuotes();
    void quoteTextKeepsInnerQuotes();
    void padLeft_data();
    void padLeft();
    void countChar();
    void replaceEvery_data();
    void replaceEvery();

    void normalizeDate_data();
    void normalizeDate();
    void normalizeDatePatternChoosesOrder_data();
    void normalizeDatePatternChoosesOrder();
    void shortDatePatternFromCFormat_data();
    void shortDatePatternFromCFormat();
    void systemLocaleDateOrder_data();
    void systemLocaleDateOrder();
    void systemPatternIsCachedUntilReset();

    void normalizeTime_data();
    void normalizeTime();

    void formatCount_data();
    void formatCount();

private:
    QByteArray m_lcAll, m_lcTime, m_lang;
    bool m_hadLcAll = false, m_hadLcTime = false, m_hadLang = false;
};

void TestTextServices::initTestCase()
{
    m_hadLcAll = qEnvironmentVariableIsSet("LC_ALL");
    m_hadLcTime = qEnvironmentVariableIsSet("LC_TIME");
    m_hadLang = qEnvironmentVariableIsSet("LANG");
    m_lcAll = qgetenv("LC_ALL");
    m_lcTime = qgetenv("LC_TIME");
    m_lang = qgetenv("LANG");
}

// Puts the locale environment back, so each test starts from the one the program was given.
void TestTextServices::cleanup()
{
    const auto restore = [](const char *name, bool had, const QByteArray &value) {
        if (had)
            qputenv(name, value);
        else
            qunsetenv(name);
    };
    restore("LC_ALL", m_hadLcAll, m_lcAll);
    restore("LC_TIME", m_hadLcTime, m_lcTime);
    restore("LANG", m_hadLang, m_lang);
    ResetSystemDefaultShortDatePattern();
}

void TestTextServices::breakApart_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("allowEmpty");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("empty pieces dropped")
        << u"a,,b,"_s << u","_s << false << false << QStringList{"a", "b"};
    QTest::newRow("empty pieces kept")
        << u"a,,b,"_s << u","_s << true << false << QStringList{"a", "", "b", ""};
    QTest::newRow("leading separators dropped")
        << u",,a"_s << u","_s << false << false << QStringList{"a"};
    QTest::newRow("empty text") << u""_s << u","_s << false << false << QStringList{};
    QTest::newRow("empty text kept") << u""_s << u","_s << true << false << QStringList{""};
    QTest::newRow("only separators") << u",,,"_s << u","_s << false << false << QStringList{};
    QTest::newRow("only separators kept")
        << u",,,"_s << u","_s << true << false << QStringList{"", "", "", ""};
    QTest::newRow("empty separator") << u"a,b"_s << u""_s << false << false << QStringList{"a,b"};
    QTest::newRow("two-character separator")
        << u"Paris, France"_s << u", "_s << false << false << QStringList{"Paris", "France"};
    QTest::newRow("two-character separator absent")
        << u"a,b"_s << u", "_s << false << false << QStringList{"a,b"};
    QTest::newRow("separator longer than text")
        << u"ab"_s << u"abc"_s << false << false << QStringList{"ab"};
    QTest::newRow("letters matched in any case") << u"oneANDtwoandThree"_s << u"and"_s << false
                                                 << false << QStringList{"one", "two", "Three"};
    QTest::newRow("letters matched in any case, upper separator")
        << u"oneandtwo"_s << u"AND"_s << false << false << QStringList{"one", "two"};
    QTest::newRow("letters matched exactly when case-sensitive")
        << u"oneANDtwoandThree"_s << u"and"_s << false << true << QStringList{"oneANDtwo", "Three"};
    QTest::newRow("non-letter separator matched exactly")
        << u"xA-ya-z"_s << u"a-"_s << false << false << QStringList{"xA-y", "z"};
    QTest::newRow("accented letters matched in any case")
        << QString::fromUtf8("1É2é3") << QString::fromUtf8("é") << false << false
        << QStringList{"1", "2", "3"};
    QTest::newRow("quotes ignored without quote mode")
        << q("Qa,bQ,c") << u","_s << false << false << q(QStringList{"Qa", "bQ", "c"});
}

void TestTextServices::breakApart()
{
    QFETCH(QString, text);
    QFETCH(QString, separator);
    QFETCH(bool, allowEmpty);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, pieces);

    TLumBreakApart splitter;
    splitter.setBaseString(text);
    splitter.setBreakString(separator);
    splitter.setAllowEmptyString(allowEmpty);
    splitter.setCaseSensitive(caseSensitive);
    splitter.BreakApart();
    QCOMPARE(splitter.StringList(), pieces);
    QCOMPARE(splitter.BaseString(), text);
}

void TestTextServices::breakApartQuoteMode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("allowEmpty");
    QTest::addColumn<QStringList>("pieces");

    QTest::newRow("quoted field with separator")
        << u"QxQ,Qa,bQ,y"_s << false << QStringList{"x", "a,b", "y"};
    QTest::newRow("doubled quotes stay doubled")
        << u"Qsay QQhiQQQ,z"_s << false << QStringList{"say QQhiQQ", "z"};
    QTest::newRow("empty quoted field dropped") << u"QQ"_s << false << QStringList{};
    QTest::newRow("empty quoted field kept") << u"QQ"_s << true << QStringList{""};
    QTest::newRow("empty quoted field between others")
        << u"a,QQ,b"_s << false << QStringList{"a", "b"};
    QTest::newRow("empty quoted field between others kept")
        << u"a,QQ,b"_s << true << QStringList{"a", "", "b"};
    QTest::newRow("never closed keeps opening quote") << u"Qa,b"_s << false << QStringList{"Qa,b"};
    QTest::newRow("field spanning three pieces")
        << u"Qa,b,cQ,d"_s << false << QStringList{"a,b,c", "d"};
    QTest::newRow("doubled quotes right after opening")
        << u"Qa,QQ,bQ"_s << false << QStringList{"a,QQ,b"};
    QTest::newRow("doubled quotes inside an open field")
        << u"Qa,b,QQ,cQ"_s << false << QStringList{"a,b,QQ,c"};
    QTest::newRow("empty piece inside field kept") << u"Qa,,bQ"_s << true << QStringList{"a,,b"};
    QTest::newRow("opening quote on last piece") << u"a,Qb"_s << false << QStringList{"a", "Qb"};
    QTest::newRow("lone quote opens a field") << u"Q,aQ"_s << false << QStringList{",a"};
}

void TestTextServices::breakApartQuoteMode()
{
    QFETCH(QString, text);
    QFETCH(bool, allowEmpty);
    QFETCH(QStringList, pieces);

    TLumBreakApart splitter;
    splitter.setBaseString(q(text));
    splitter.setBreakString(QStringLiteral(","));
    splitter.setAllowEmptyString(allowEmpty);
    splitter.setDoubleQuoteMode(true);
    splitter.BreakApart();
    QCOMPARE(splitter.StringList(), q(pieces));
}

void TestTextServices::breakApartReusesComponent()
{
    TLumBreakApart splitter;
    splitter.setBreakString(QStringLiteral("|"));
    splitter.setBaseString(QStringLiteral("a|b|c"));
    splitter.BreakApart();
    splitter.setBaseString(QStringLiteral("d"));
    splitter.BreakApart();
    QCOMPARE(splitter.StringList(), QStringList{"d"});
}

void TestTextServices::reverseBreakApart_data()
{
    QTest::addColumn<QStringList>("items");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<bool>("allowEmpty");
    QTest::addColumn<bool>("quoteMode");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty item skipped")
        << QStringList{"a", "", "b"} << u","_s << false << false << u"a,b"_s;
    QTest::newRow("empty item kept")
        << QStringList{"a", "", "b"} << u","_s << true << false << u"a,,b"_s;
    QTest::newRow("leading empty item skipped")
        << QStringList{"", "a"} << u","_s << false << false << u"a"_s;
    QTest::newRow("empty list") << QStringList{} << u","_s << true << false << u""_s;
    QTest::newRow("every item skipped") << QStringList{"", ""} << u","_s << false << false << u""_s;
    QTest::newRow("long separator")
        << QStringList{"Paris", "France"} << u", "_s << false << false << u"Paris, France"_s;
    QTest::newRow("quoted") << QStringList{"a,b", "c"} << u","_s << false << true << q("Qa,bQ,QcQ");
    QTest::newRow("quoted, empty skipped")
        << QStringList{"", "a"} << u","_s << false << true << q("QaQ");
    QTest::newRow("quoted, empty kept")
        << QStringList{"", "a"} << u","_s << true << true << q("QQ,QaQ");
    QTest::newRow("quoted, inner quotes not doubled")
        << q(QStringList{"sQyQ"}) << u","_s << false << true << q("QsQyQQ");
}

void TestTextServices::reverseBreakApart()
{
    QFETCH(QStringList, items);
    QFETCH(QString, separator);
    QFETCH(bool, allowEmpty);
    QFETCH(bool, quoteMode);
    QFETCH(QString, text);

    TLumBreakApart splitter;
    splitter.setBaseString(QStringLiteral("left over"));
    splitter.setStringList(items);
    splitter.setBreakString(separator);
    splitter.setAllowEmptyString(allowEmpty);
    splitter.setDoubleQuoteMode(quoteMode);
    splitter.ReverseBreakApart();
    QCOMPARE(splitter.BaseString(), text);
    QCOMPARE(splitter.StringList(), items);
}

// Fields holding the separator survive a join and a cut in quote mode.
void TestTextServices::quoteModeRoundTrip()
{
    const QStringList fields{"Paris, France", "x", "a,,b", "", "end"};
    TLumBreakApart splitter;
    splitter.setBreakString(QStringLiteral(","));
    splitter.setDoubleQuoteMode(true);
    splitter.setAllowEmptyString(true);
    splitter.setStringList(fields);
    splitter.ReverseBreakApart();
    splitter.BreakApart();
    QCOMPARE(splitter.StringList(), fields);
}

void TestTextServices::textBeforeAfter_data()
{
    QTest::addColumn<QString>("sub");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("after");

    QTest::newRow("absent") << u"|"_s << u"Orly"_s << u"Orly"_s << u""_s;
    QTest::newRow("first occurrence") << u"|"_s << u"a|b|c"_s << u"a"_s << u"b|c"_s;
    QTest::newRow("any letter case") << u"AM"_s << u"9:05am x"_s << u"9:05"_s << u" x"_s;
    QTest::newRow("at the start") << u"ab"_s << u"abc"_s << u""_s << u"c"_s;
    QTest::newRow("at the end") << u"c"_s << u"abc"_s << u"ab"_s << u""_s;
    QTest::newRow("empty sub never occurs") << u""_s << u"abc"_s << u"abc"_s << u""_s;
    QTest::newRow("empty text") << u"|"_s << u""_s << u""_s << u""_s;
}

void TestTextServices::textBeforeAfter()
{
    QFETCH(QString, sub);
    QFETCH(QString, text);
    QFETCH(QString, before);
    QFETCH(QString, after);

    QCOMPARE(TextBefore(sub, text), before);
    QCOMPARE(TextAfter(sub, text), after);
}

void TestTextServices::textBetween_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("between");

    QTest::newRow("bracketed") << u"Paris [Orly], France"_s << u"Orly"_s;
    QTest::newRow("close before open") << u"a]b[c"_s << u""_s;
    QTest::newRow("close before and after open") << u"a]b[c]d"_s << u"c"_s;
    QTest::newRow("no open") << u"abc]"_s << u""_s;
    QTest::newRow("no close") << u"a[bc"_s << u""_s;
    QTest::newRow("nothing between") << u"[]"_s << u""_s;
    QTest::newRow("first pair only") << u"[a][b]"_s << u"a"_s;
    QTest::newRow("nested opens") << u"[a[b]c]"_s << u"a[b"_s;
}

void TestTextServices::textBetween()
{
    QFETCH(QString, text);
    QFETCH(QString, between);
    QCOMPARE(TextBetween(text, u'[', u']'), between);
}

void TestTextServices::trimQuotes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("trimmed");

    QTest::newRow("apostrophes") << u"'abc'"_s << u"abc"_s;
    QTest::newRow("double quotes") << u"QabcQ"_s << u"abc"_s;
    QTest::newRow("mixed quotes") << u"Qabc'"_s << u"Qabc'"_s;
    QTest::newRow("one quote") << u"Q"_s << u"Q"_s;
    QTest::newRow("two quotes") << u"QQ"_s << u""_s;
    QTest::newRow("one pair only") << u"QQabcQQ"_s << u"QabcQ"_s;
    QTest::newRow("other characters") << u"xabcx"_s << u"xabcx"_s;
    QTest::newRow("empty") << u""_s << u""_s;
}

void TestTextServices::trimQuotes()
{
    QFETCH(QString, text);
    QFETCH(QString, trimmed);
    QCOMPARE(TrimQuotes(q(text)), q(trimmed));
}

void TestTextServices::quoteTextKeepsInnerQuotes()
{
    QCOMPARE(QuoteText(q("aQb")), q("QaQbQ"));
    QCOMPARE(QuoteText(QString()), q("QQ"));
}

void TestTextServices::padLeft_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("padded");

    QTest::newRow("shorter") << u"5"_s << 2 << u"05"_s;
    QTest::newRow("same length") << u"12"_s << 2 << u"12"_s;
    QTest::newRow("longer never cut") << u"123"_s << 2 << u"123"_s;
    QTest::newRow("empty") << u""_s << 3 << u"000"_s;
    QTest::newRow("zero length") << u"a"_s << 0 << u"a"_s;
    QTest::newRow("negative length") << u"a"_s << -4 << u"a"_s;
}

void TestTextServices::padLeft()
{
    QFETCH(QString, text);
    QFETCH(int, length);
    QFETCH(QString, padded);
    QCOMPARE(PadLeft(text, length, u'0'), padded);
}

void TestTextServices::countChar()
{
    QCOMPARE(CountChar(q("QaQQbQ"), u'"'), 4);
    QCOMPARE(CountChar(QStringLiteral("abc"), u'"'), 0);
    QCOMPARE(CountChar(QString(), u'a'), 0);
    QCOMPARE(CountChar(QStringLiteral("aAa"), u'a'), 2);
}

void TestTextServices::replaceEvery_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("find");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("result");

    QTest::newRow("any letter case") << u"aXbxc"_s << u"x"_s << u"-"_s << u"a-b-c"_s;
    QTest::newRow("longer find") << u"ABabAb"_s << u"ab"_s << u"x"_s << u"xxx"_s;
    QTest::newRow("no re-scan") << u"aaa"_s << u"a"_s << u"aa"_s << u"aaaaaa"_s;
    QTest::newRow("replacement holds find") << u"a.m."_s << u"."_s << u".."_s << u"a..m.."_s;
    QTest::newRow("empty replacement deletes") << u"a b c"_s << u" "_s << u""_s << u"abc"_s;
    QTest::newRow("not found") << u"abc"_s << u"z"_s << u"y"_s << u"abc"_s;
    QTest::newRow("empty find changes nothing") << u"abc"_s << u""_s << u"y"_s << u"abc"_s;
}

void TestTextServices::replaceEvery()
{
    QFETCH(QString, text);
    QFETCH(QString, find);
    QFETCH(QString, replacement);
    QFETCH(QString, result);
    QCOMPARE(ReplaceEvery(text, find, replacement), result);
}

void TestTextServices::normalizeDate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("monthFirst");
    QTest::addColumn<QString>("dayFirst");

    QTest::newRow("slashes") << u"3/4/2021"_s << u"2021-03-04"_s << u"2021-04-03"_s;
    QTest::newRow("dashes, two-digit year") << u"03-04-21"_s << u"2021-03-04"_s << u"2021-04-03"_s;
    QTest::newRow("year 75") << u"3/4/75"_s << u"1975-03-04"_s << u"1975-04-03"_s;
    QTest::newRow("year 50") << u"3/4/50"_s << u"1950-03-04"_s << u"1950-04-03"_s;
    QTest::newRow("year 49") << u"3/4/49"_s << u"2049-03-04"_s << u"2049-04-03"_s;
    QTest::newRow("year 00") << u"3/4/00"_s << u"2000-03-04"_s << u"2000-04-03"_s;
    QTest::newRow("doubled separator") << u"3//4/2021"_s << u"2021-03-04"_s << u"2021-04-03"_s;
    QTest::newRow("three-digit year") << u"3/4/021"_s << u"021-03-04"_s << u"021-04-03"_s;
    QTest::newRow("mixed separators") << u"3-4/2021"_s << u"2021-03-04"_s << u"2021-04-03"_s;
    QTest::newRow("not checked as a date") << u"31/31/2021"_s << u"2021-31-31"_s << u"2021-31-31"_s;
    QTest::newRow("log form") << u"2021-03-04"_s << u"2021-03-04"_s << u"2021-03-04"_s;
    QTest::newRow("year first, short parts") << u"2021-3-4"_s << u"2021-3-4"_s << u"2021-3-4"_s;
    QTest::newRow("year first, slashes") << u"2021/03/04"_s << u"2021/03/04"_s << u"2021/03/04"_s;
    QTest::newRow("dots") << u"04.03.2021"_s << u"04.03.2021"_s << u"04.03.2021"_s;
    QTest::newRow("two parts") << u"3/2021"_s << u"3/2021"_s << u"3/2021"_s;
    QTest::newRow("four parts") << u"1/2/3/4"_s << u"1/2/3/4"_s << u"1/2/3/4"_s;
    QTest::newRow("empty") << u""_s << u""_s << u""_s;
    QTest::newRow("two-character year not a number") << u"3/4/ab"_s << u"3/4/ab"_s << u"3/4/ab"_s;
    QTest::newRow("two-character year with a sign") << u"3/4/+5"_s << u"3/4/+5"_s << u"3/4/+5"_s;
}

void TestTextServices::normalizeDate()
{
    QFETCH(QString, text);
    QFETCH(QString, monthFirst);
    QFETCH(QString, dayFirst);

    QCOMPARE(NormalizeDate(text, QStringLiteral("mm/dd/yyyy")), monthFirst);
    QCOMPARE(NormalizeDate(text, QStringLiteral("dd/mm/yyyy")), dayFirst);
}

void TestTextServices::normalizeDatePatternChoosesOrder_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("result");

    QTest::newRow("mm/dd/yyyy") << u"mm/dd/yyyy"_s << u"2021-03-04"_s;
    QTest::newRow("MM/dd/yyyy") << u"MM/dd/yyyy"_s << u"2021-03-04"_s;
    QTest::newRow("M/d/yyyy") << u"M/d/yyyy"_s << u"2021-04-03"_s;
    QTest::newRow("mm/dd/yy") << u"mm/dd/yy"_s << u"2021-04-03"_s;
    QTest::newRow("dd/mm/yyyy") << u"dd/mm/yyyy"_s << u"2021-04-03"_s;
    QTest::newRow("yyyy/mm/dd") << u"yyyy/mm/dd"_s << u"2021-04-03"_s;
    QTest::newRow("empty") << u""_s << u"2021-04-03"_s;
}

void TestTextServices::normalizeDatePatternChoosesOrder()
{
    QFETCH(QString, pattern);
    QFETCH(QString, result);
    QCOMPARE(NormalizeDate(QStringLiteral("3/4/2021"), pattern), result);
}

void TestTextServices::shortDatePatternFromCFormat_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("pattern");

    QTest::newRow("United States") << u"%m/%d/%Y"_s << u"mm/dd/yyyy"_s;
    QTest::newRow("France") << u"%d/%m/%Y"_s << u"dd/mm/yyyy"_s;
    QTest::newRow("Germany") << u"%d.%m.%Y"_s << u"dd/mm/yyyy"_s;
    QTest::newRow("United Kingdom") << u"%d/%m/%y"_s << u"dd/mm/yy"_s;
    QTest::newRow("shorthand D") << u"%D"_s << u"mm/dd/yy"_s;
    QTest::newRow("shorthand F") << u"%F"_s << u"yyyy/mm/dd"_s;
    QTest::newRow("year first") << u"%Y-%m-%d"_s << u"yyyy/mm/dd"_s;
    QTest::newRow("trailing and spaced separators") << u"%Y. %m. %d."_s << u"yyyy/mm/dd"_s;
    QTest::newRow("unpadded fields") << u"%-m/%-d/%Y"_s << u"m/d/yyyy"_s;
    QTest::newRow("space-padded day") << u"%e/%m/%Y"_s << u"d/mm/yyyy"_s;
    QTest::newRow("alternative year") << u"%d.%m.%EY"_s << u"dd/mm/yyyy"_s;
    QTest::newRow("month name") << u"%d %b %Y"_s << u"dd/mmm/yyyy"_s;
    QTest::newRow("non-date directive ignored") << u"%d/%m/%Y %Z"_s << u"dd/mm/yyyy"_s;
    QTest::newRow("dangling percent") << u"%d/%m/%"_s << u"dd/mm"_s;
    QTest::newRow("empty") << u""_s << u""_s;
}

void TestTextServices::shortDatePatternFromCFormat()
{
    QFETCH(QString, format);
    QFETCH(QString, pattern);
    QCOMPARE(ShortDatePatternFromCFormat(format), pattern);
}

void TestTextServices::systemLocaleDateOrder_data()
{
    QTest::addColumn<QByteArray>("lcAll");
    QTest::addColumn<QByteArray>("lcTime");
    QTest::addColumn<QByteArray>("lang");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("date");

    QTest::newRow("en_US") << QByteArray("en_US.UTF-8") << QByteArray() << QByteArray()
                           << u"mm/dd/yyyy"_s << u"2021-03-04"_s;
    QTest::newRow("en_GB") << QByteArray("en_GB.UTF-8") << QByteArray() << QByteArray()
                           << u"dd/mm/yy"_s << u"2021-04-03"_s;
    QTest::newRow("de_DE") << QByteArray("de_DE.UTF-8") << QByteArray() << QByteArray()
                           << u"dd/mm/yyyy"_s << u"2021-04-03"_s;
    QTest::newRow("fr_FR") << QByteArray("fr_FR.UTF-8") << QByteArray() << QByteArray()
                           << u"dd/mm/yyyy"_s << u"2021-04-03"_s;
    QTest::newRow("LC_ALL before LC_TIME") << QByteArray("de_DE.UTF-8") << QByteArray("en_US.UTF-8")
                                           << QByteArray() << u"dd/mm/yyyy"_s << u"2021-04-03"_s;
    QTest::newRow("LC_TIME before LANG")
        << QByteArray() << QByteArray("en_US.UTF-8") << QByteArray("de_DE.UTF-8") << u"mm/dd/yyyy"_s
        << u"2021-03-04"_s;
    QTest::newRow("LANG alone") << QByteArray() << QByteArray() << QByteArray("en_US.UTF-8")
                                << u"mm/dd/yyyy"_s << u"2021-03-04"_s;
    QTest::newRow("C locale") << QByteArray("C") << QByteArray() << QByteArray() << u"mm/dd/yy"_s
                              << u"2021-04-03"_s;
    QTest::newRow("nothing set") << QByteArray() << QByteArray() << QByteArray() << u"mm/dd/yy"_s
                                 << u"2021-04-03"_s;
    QTest::newRow("locale not installed falls back to C")
        << QByteArray("xx_NOWHERE.UTF-8") << QByteArray() << QByteArray() << u"mm/dd/yy"_s
        << u"2021-04-03"_s;
}

void TestTextServices::systemLocaleDateOrder()
{
    QFETCH(QByteArray, lcAll);
    QFETCH(QByteArray, lcTime);
    QFETCH(QByteArray, lang);
    QFETCH(QString, pattern);
    QFETCH(QString, date);

    for (const QByteArray &name : {lcAll, lcTime, lang}) {
        if (name.contains("UTF-8") && !name.startsWith("xx_") && !localeInstalled(name))
            QSKIP(qPrintable(QStringLiteral("locale %1 is not installed (see "
                                            "scripts/install-deps.sh)")
                                 .arg(QString::fromLatin1(name))));
    }
    const auto set = [](const char *variable, const QByteArray &value) {
        if (value.isEmpty())
            qunsetenv(variable);
        else
            qputenv(variable, value);
    };
    set("LC_ALL", lcAll);
    set("LC_TIME", lcTime);
    set("LANG", lang);
    ResetSystemDefaultShortDatePattern();

    QCOMPARE(SystemDefaultShortDatePattern(), pattern);
    QCOMPARE(NormalizeDate(QStringLiteral("3/4/2021")), date);
}

void TestTextServices::systemPatternIsCachedUntilReset()
{
    if (!localeInstalled("en_US.UTF-8") || !localeInstalled("de_DE.UTF-8"))
        QSKIP("locales en_US.UTF-8 and de_DE.UTF-8 are needed (see scripts/install-deps.sh)");
    qputenv("LC_ALL", "en_US.UTF-8");
    ResetSystemDefaultShortDatePattern();
    QCOMPARE(NormalizeDate(QStringLiteral("3/4/2021")), QStringLiteral("2021-03-04"));

    qputenv("LC_ALL", "de_DE.UTF-8");
    QCOMPARE(NormalizeDate(QStringLiteral("3/4/2021")), QStringLiteral("2021-03-04"));
    ResetSystemDefaultShortDatePattern();
    QCOMPARE(NormalizeDate(QStringLiteral("3/4/2021")), QStringLiteral("2021-04-03"));
}

void TestTextServices::normalizeTime_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("result");

    QTest::newRow("log form") << u"09:05"_s << u"09:05"_s;
    QTest::newRow("one-digit hour") << u"9:05"_s << u"09:05"_s;
    QTest::newRow("AM") << u"9:05 AM"_s << u"09:05"_s;
    QTest::newRow("midnight a.m.") << u"12:15 a.m."_s << u"00:15"_s;
    QTest::newRow("noon PM") << u"12:15 PM"_s << u"12:15"_s;
    QTest::newRow("pm without blank") << u"1:30pm"_s << u"13:30"_s;
    QTest::newRow("P.M.") << u"11:59 P.M."_s << u"23:59"_s;
    QTest::newRow("h as separator") << u"14h30"_s << u"14:30"_s;
    QTest::newRow("seconds kept") << u"13:30:45"_s << u"13:30:45"_s;
    QTest::newRow("pm without minutes") << u"7pm"_s << u"0019:"_s;
    QTest::newRow("am without minutes") << u"12am"_s << u"0000:"_s;
    QTest::newRow("blanks removed") << u" 9 : 05 "_s << u"09:05"_s;
    QTest::newRow("tab removed") << u"9:05\tPM"_s << u"21:05"_s;
    QTest::newRow("leading zero pm") << u"07:45 pm"_s << u"19:45"_s;
    QTest::newRow("empty") << u""_s << u"00000"_s;
    QTest::newRow("hour not a number") << u"x:30pm"_s << u"x:30pm"_s;
    QTest::newRow("no hour") << u":30 PM"_s << u":30 PM"_s;
    QTest::newRow("signed hour") << u"+1:30pm"_s << u"+1:30pm"_s;
}

void TestTextServices::normalizeTime()
{
    QFETCH(QString, text);
    QFETCH(QString, result);
    QCOMPARE(NormalizeTime(text), result);
}

void TestTextServices::formatCount_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<qint64>("count");
    QTest::addColumn<QString>("text");

    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale germany(QLocale::German, QLocale::Germany);
    const QLocale france(QLocale::French, QLocale::France);
    const QLocale india(QLocale::English, QLocale::India);
    constexpr qint64 lowest = std::numeric_limits<qint64>::min();
    constexpr qint64 highest = std::numeric_limits<qint64>::max();

    QTest::newRow("zero") << us << qint64(0) << u"0"_s;
    QTest::newRow("one") << us << qint64(1) << u"1"_s;
    QTest::newRow("999") << us << qint64(999) << u"999"_s;
    QTest::newRow("1000") << us << qint64(1000) << u"1,000"_s;
    QTest::newRow("1234567") << us << qint64(1234567) << u"1,234,567"_s;
    QTest::newRow("-999") << us << qint64(-999) << u"-999"_s;
    QTest::newRow("-1000") << us << qint64(-1000) << u"-1,000"_s;
    QTest::newRow("highest") << us << highest << u"9,223,372,036,854,775,807"_s;
    QTest::newRow("lowest") << us << lowest << u"-9,223,372,036,854,775,808"_s;
    QTest::newRow("dot separator") << germany << qint64(1234567) << u"1.234.567"_s;
    QTest::newRow("zero, dot separator") << germany << qint64(0) << u"0"_s;
    QTest::newRow("space separator")
        << france << qint64(1234567) << QString::fromUtf8("1\u202f234\u202f567");
    QTest::newRow("groups of three everywhere") << india << qint64(12345678) << u"12,345,678"_s;
}

void TestTextServices::formatCount()
{
    QFETCH(QLocale, locale);
    QFETCH(qint64, count);
    QFETCH(QString, text);
    QCOMPARE(FormatCount(count, locale), text);
}

QTEST_GUILESS_MAIN(TestTextServices)
#include "tst_textservices.moc"
