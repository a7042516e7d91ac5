// The options dialog: first run, OK and Cancel, the default buttons, the country list and its
// editor, the proxy fields, and stored values of the wrong kind.
#include "components/LumRegistryEnhanced.h"
#include "components/ui/MessageBoxes.h"
#include "model/RecentFileList.h"
#include "options/CheckListText.h"
#include "options/ui/WingbookUnit2.h"
#include "options/ui/WingbookUnit7.h"
#include "support/WindowTestSupport.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

namespace
{

QList<TCheckListItem> items(const QStringList &checked, const QStringList &unchecked = {})
{
    QList<TCheckListItem> list;
    for (const QString &name : checked)
        list.append({name, true});
    for (const QString &name : unchecked)
        list.append({name, false});
    return list;
}

} // namespace

class TestOptionsDialog : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstRunOnAnEmptyStore();
    void cancelRestoresTheStoredOptions();
    void okStoresAndSurvivesARestart();
    void executeOpensOnPreferences();
    void preferencesDefaultKeepsTheCheckBoxes();
    void updateDefaultAndSystemProxy();
    void proxyFieldsFollowTheCheckBox();
    void portFieldTakesDigitsFromTheKeyboard();
    void countriesDefaultReadsTheFile();
    void countriesMenuEnabling_data();
    void countriesMenuEnabling();
    void editorLinesAndCheckMarks();
    void editorCancelChangesNothing();
    void storedValuesOfTheWrongKind_data();
    void storedValuesOfTheWrongKind();
    void unreadableCountriesFileStopsLoading();

private:
    void writeCountries(const QStringList &lines);
    std::unique_ptr<TForm2> makeDialog();

    // The settings and the country list of each test.
    std::unique_ptr<WindowTests::PrivateSettingsFolder> m_dir;
    WindowTests::MessageBoxRecorder m_messages;
    std::unique_ptr<TLumRegistryEnhanced> m_store;
    RecentFileList m_open;
    RecentFileList m_import;
};

void TestOptionsDialog::init()
{
    m_store.reset();
    m_dir.reset();
    m_dir = std::make_unique<WindowTests::PrivateSettingsFolder>();
    QVERIFY(m_dir->isValid());
    m_store.reset(TLumRegistryEnhanced::makeProgramStore());
    m_store->setFileName(m_dir->filePath(QStringLiteral("settings.reg")));
    m_open.clear();
    m_import.clear();
    m_messages.clear();
    qunsetenv("http_proxy");
    qunsetenv("HTTP_PROXY");
    writeCountries({"Peru", "Chad", "Åland Islands"});
}

void TestOptionsDialog::cleanup()
{
    qunsetenv("http_proxy");
}

void TestOptionsDialog::writeCountries(const QStringList &lines)
{
    QFile file(m_dir->filePath(QStringLiteral("Countries.def")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(lines.join("\r\n").toUtf8() + "\r\n");
}

std::unique_ptr<TForm2> TestOptionsDialog::makeDialog()
{
    auto dialog = std::make_unique<TForm2>(m_store.get());
    dialog->setCommonDefFilesPath(m_dir->path() + '/');
    dialog->setRecentLists(&m_open, &m_import);
    return dialog;
}

void TestOptionsDialog::firstRunOnAnEmptyStore()
{
    auto dialog = makeDialog();
    // Before anything is loaded: the built-in list, unchecked, in alphabetical order.
    QCOMPARE(dialog->Countries().size(), 235);
    QCOMPARE(dialog->Countries().at(1).text, QStringLiteral("Åland Islands"));
    QVERIFY(dialog->CheckedCountries().isEmpty());

    QVERIFY(dialog->FormCreate());
    const QList<QCheckBox *> boxes = {dialog->HandleDoubleClicksAsPropertiesDisplayCheckBox,
                                      dialog->PromptBeforeOverwritingFilesCheckBox,
                                      dialog->AutoPopulateAirlinesCheckBox,
                                      dialog->AutoPopulateAirportsCheckBox,
                                      dialog->AutoPopulateDistancesCheckBox,
                                      dialog->DisplayLatestFlightsFirstCheckBox,
                                      dialog->SortAlphabeticalCodesCheckBox,
                                      dialog->OpenLastOpenedFileAtStartupCheckBox};
    for (QCheckBox *box : boxes)
        QVERIFY2(box->isChecked(), qPrintable(box->text()));
    // The one option that starts off, on the page of the automatic filling.
    QCOMPARE(dialog->ComputeDistancesCheckBox->text(),
             QStringLiteral("Compute distances from airport positions"));
    QVERIFY(dialog->PageControl1->widget(0)->isAncestorOf(dialog->ComputeDistancesCheckBox));
    QVERIFY(!dialog->ComputeDistancesCheckBox->isChecked());
    QVERIFY(!dialog->ComputeDistances());
    QCOMPARE(dialog->RecentlyUsedFileList(), 5);
    QCOMPARE(dialog->InformationProvider(), 0);
    QCOMPARE(dialog->DistanceCalculator(), 0);
    QCOMPARE(dialog->Countries(), items({"Åland Islands", "Chad", "Peru"}));
    QCOMPARE(dialog->CheckedCountries(), (QStringList{"Åland Islands", "Chad", "Peru"}));
    QVERIFY(!dialog->UseProxyServerCheckBox->isChecked());
    QCOMPARE(dialog->ProxyAddressEdit->text(), QString());
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("80"));
    QVERIFY(!dialog->ProxyAddressEdit->isEnabled());
    QCOMPARE(dialog->ProxyAddress(), QString());
    QCOMPARE(dialog->ProxyPort(), QStringLiteral("80"));
    // Loading writes nothing.
    QVERIFY(!m_store->KeyExists(QStringLiteral("Options")));
    QVERIFY(!m_store->KeyExists(QStringLiteral("Countries")));
    QVERIFY(m_messages.boxes.isEmpty());
}

void TestOptionsDialog::cancelRestoresTheStoredOptions()
{
    m_store->SetValue(QStringLiteral("Options\\RecentlyUsedFileList"), 7);
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    const QString before = QFile(m_store->FileName()).exists() ? QString::fromUtf8([this] {
        QFile f(m_store->FileName());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }())
                                                               : QString();
    dialog->AutoPopulateAirlinesCheckBox->setChecked(false);
    dialog->ComputeDistancesCheckBox->setChecked(true);
    dialog->RecentlyUsedFileListUpDown->setValue(2);
    // The other parts of the program see the change at once.
    QVERIFY(!dialog->AutoPopulateAirlines());
    QVERIFY(dialog->ComputeDistances());
    dialog->EditFinished(false);
    QVERIFY(dialog->AutoPopulateAirlinesCheckBox->isChecked());
    QVERIFY(!dialog->ComputeDistancesCheckBox->isChecked());
    QCOMPARE(dialog->RecentlyUsedFileList(), 7);
    QFile after(m_store->FileName());
    QVERIFY(after.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(after.readAll()), before);
}

void TestOptionsDialog::okStoresAndSurvivesARestart()
{
    m_open.setEntries({"/l/1.xml", "/l/2.xml", "/l/3.xml", "/l/4.xml", "/l/5.xml"});
    m_import.setEntries({"/i/1.csv", "/i/2.csv", "/i/3.csv"});
    {
        auto dialog = makeDialog();
        QVERIFY(dialog->FormCreate());
        dialog->RecentlyUsedFileListUpDown->setValue(2);
        dialog->SortAlphabeticalCodesCheckBox->setChecked(false);
        dialog->ComputeDistancesCheckBox->setChecked(true);
        dialog->DistanceCalculatorRadioGroup->setItemIndex(1);
        dialog->CountriesCheckListBox->item(1)->setCheckState(Qt::Unchecked); // Chad
        dialog->UseProxyServerCheckBox->setChecked(true);
        dialog->ProxyAddressEdit->setText(QStringLiteral("proxy.example"));
        dialog->ProxyPortEdit->setText(QStringLiteral("3128"));
        dialog->EditFinished(true);
        QCOMPARE(m_open.entries(), (QStringList{"/l/1.xml", "/l/2.xml"}));
        QCOMPARE(m_import.entries(), (QStringList{"/i/1.csv", "/i/2.csv"}));
        QCOMPARE(dialog->ProxyAddress(), QStringLiteral("proxy.example"));
        QCOMPARE(dialog->ProxyPort(), QStringLiteral("3128"));
    }
    QCOMPARE(m_store->GetValueDefault("Options\\RecentlyUsedFileList", 0), QVariant(2));
    QCOMPARE(m_store->GetValueDefault("Options\\SortAlphabeticalCodes", 9), QVariant(0));
    QCOMPARE(m_store->GetValueDefault("Options\\ProxyPort", 0), QVariant("3128"));
    QCOMPARE(m_store->GetValueDefault("Options\\UseProxyServer", 9), QVariant(1));
    QCOMPARE(m_store->GetValueDefault("Options\\ComputeDistances", 9), QVariant(1));

    writeCountries({"Spain"}); // the stored list wins over the file now
    auto restarted = makeDialog();
    QVERIFY(restarted->FormCreate());
    QCOMPARE(restarted->RecentlyUsedFileList(), 2);
    QVERIFY(!restarted->SortAlphabeticalCodes());
    QVERIFY(restarted->ComputeDistances());
    QCOMPARE(restarted->DistanceCalculator(), 1);
    QCOMPARE(restarted->Countries(), items({"Åland Islands"}, {"Chad"}) + items({"Peru"}));
    QVERIFY(restarted->UseProxyServerCheckBox->isChecked());
    QVERIFY(restarted->ProxyPortEdit->isEnabled());
    QCOMPARE(restarted->ProxyAddressEdit->text(), QStringLiteral("proxy.example"));
}

void TestOptionsDialog::executeOpensOnPreferences()
{
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    dialog->PageControl1->setCurrentIndex(3);
    int pageShown = -1;
    QTimer::singleShot(0, dialog.get(), [&] {
        pageShown = dialog->PageControl1->currentIndex();
        dialog->OpenLastOpenedFileAtStartupCheckBox->setChecked(false);
        dialog->OKButton->click();
    });
    dialog->Execute();
    QCOMPARE(pageShown, 0);
    QCOMPARE(m_store->GetValueDefault("Options\\OpenLastOpenedFileAtStartup", 9), QVariant(0));

    QTimer::singleShot(0, dialog.get(), [&] {
        dialog->OpenLastOpenedFileAtStartupCheckBox->setChecked(true);
        QTest::keyClick(dialog.get(), Qt::Key_Escape);
    });
    dialog->Execute();
    QVERIFY(!dialog->OpenLastOpenedFileAtStartup());
}

void TestOptionsDialog::preferencesDefaultKeepsTheCheckBoxes()
{
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    dialog->RecentlyUsedFileListUpDown->setValue(40);
    dialog->AutoPopulateAirportsCheckBox->setChecked(false);
    dialog->PreferencesDefaultButton->click();
    QCOMPARE(dialog->RecentlyUsedFileList(), 5);
    QVERIFY(!dialog->AutoPopulateAirports());
}

void TestOptionsDialog::updateDefaultAndSystemProxy()
{
    qputenv("http_proxy", "http://proxy.example:3128/");
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    // Nothing stored: the system's proxy is the default.
    QVERIFY(dialog->UseProxyServerCheckBox->isChecked());
    QCOMPARE(dialog->ProxyAddressEdit->text(), QStringLiteral("proxy.example"));
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("3128"));
    QCOMPARE(dialog->ProxyAddress(), QStringLiteral("proxy.example"));

    dialog->UpdateDefaultButton->click();
    QVERIFY(!dialog->UseProxyServerCheckBox->isChecked());
    QCOMPARE(dialog->ProxyAddressEdit->text(), QString());
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("80"));
    QVERIFY(!dialog->ProxyAddressEdit->isEnabled());
    QVERIFY(!dialog->ProxyPortEdit->isEnabled());

    dialog->IEButton->click();
    QVERIFY(dialog->UseProxyServerCheckBox->isChecked());
    QVERIFY(dialog->ProxyPortEdit->isEnabled());
    QCOMPARE(dialog->ProxyAddressEdit->text(), QStringLiteral("proxy.example"));
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("3128"));

    qunsetenv("http_proxy");
    dialog->IEButton->click(); // no system proxy: the start values
    QVERIFY(!dialog->UseProxyServerCheckBox->isChecked());
    QCOMPARE(dialog->ProxyAddressEdit->text(), QString());
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("80"));
}

void TestOptionsDialog::proxyFieldsFollowTheCheckBox()
{
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    // By the user (a click) and by the program (setChecked) alike.
    dialog->UseProxyServerCheckBox->click();
    QVERIFY(dialog->ProxyAddressEdit->isEnabled());
    QVERIFY(dialog->ProxyPortEdit->isEnabled());
    dialog->UseProxyServerCheckBox->setChecked(false);
    QVERIFY(!dialog->ProxyAddressEdit->isEnabled());
    QVERIFY(!dialog->ProxyPortEdit->isEnabled());
    dialog->UseProxyServerCheckBox->setChecked(true);
    QVERIFY(dialog->ProxyPortEdit->isEnabled());
    // The texts are stored and given whether or not the proxy is in use.
    dialog->ProxyAddressEdit->setText(QStringLiteral("p"));
    dialog->UseProxyServerCheckBox->setChecked(false);
    dialog->EditFinished(true);
    QCOMPARE(m_store->GetValueDefault("Options\\ProxyAddress", QString()), QVariant("p"));
    QCOMPARE(dialog->ProxyAddress(), QString());
    QCOMPARE(dialog->ProxyPort(), QStringLiteral("80"));
}

void TestOptionsDialog::portFieldTakesDigitsFromTheKeyboard()
{
    m_store->SetValue(QStringLiteral("Options\\ProxyPort"), QStringLiteral("web"));
    m_store->SetValue(QStringLiteral("Options\\UseProxyServer"), true);
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("web")); // shown unchanged
    dialog->ProxyPortEdit->clear();
    QTest::keyClicks(dialog->ProxyPortEdit, QStringLiteral("8a0-8x0"));
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("8080"));
    QTest::keyClick(dialog->ProxyPortEdit, Qt::Key_Backspace);
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("808"));
}

void TestOptionsDialog::countriesDefaultReadsTheFile()
{
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    dialog->setCountries(items({}, {"Spain"}));
    writeCountries({"Norway", "Fiji"});
    dialog->CountriesDefaultButton->click();
    QCOMPARE(dialog->Countries(), items({"Fiji", "Norway"}));

    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Countries.def"))));
    dialog->CountriesDefaultButton->click();
    QCOMPARE(m_messages.boxes.size(), 1);
    QCOMPARE(m_messages.boxes.first().kind, MessageBoxes::Kind::Error);
    QVERIFY(m_messages.boxes.first().text.contains(QStringLiteral("Countries.def")));
    QCOMPARE(dialog->Countries(), items({"Fiji", "Norway"}));
}

void TestOptionsDialog::countriesMenuEnabling_data()
{
    QTest::addColumn<QList<TCheckListItem>>("list");
    QTest::addColumn<bool>("checkAll");
    QTest::addColumn<bool>("uncheckAll");
    QTest::newRow("mixed") << items({"A"}, {"B"}) << true << true;
    QTest::newRow("all checked") << items({"A", "B"}) << false << true;
    QTest::newRow("none checked") << items({}, {"A", "B"}) << true << false;
    QTest::newRow("empty") << QList<TCheckListItem>() << false << false;
}

void TestOptionsDialog::countriesMenuEnabling()
{
    QFETCH(QList<TCheckListItem>, list);
    QFETCH(bool, checkAll);
    QFETCH(bool, uncheckAll);
    auto dialog = makeDialog();
    dialog->setCountries(list);
    emit dialog->CountriesPopupMenu->aboutToShow();
    QCOMPARE(dialog->CheckAllMenuItem->isEnabled(), checkAll);
    QCOMPARE(dialog->UncheckAllMenuItem->isEnabled(), uncheckAll);
    dialog->CheckAllMenuItemClick();
    QCOMPARE(dialog->CheckedCountries().size(), list.size());
    dialog->UncheckAllMenuItemClick();
    QVERIFY(dialog->CheckedCountries().isEmpty());
}

void TestOptionsDialog::editorLinesAndCheckMarks()
{
    auto dialog = makeDialog();
    dialog->setCountries(items({"France"}, {"Spain"}));
    QStringList shown;
    QString title;
    const QString mark(CheckMark);
    QTimer::singleShot(0, dialog.get(), [&] {
        TForm7 *editor = dialog->StringListEditor();
        title = editor->windowTitle();
        shown = editor->Lines();
        editor->Memo1->setPlainText(mark + "Peru\nFrance" + mark + "\n\nSpain\n");
        editor->OKButton->click();
    });
    dialog->EditButton->click();
    QCOMPARE(title, QStringLiteral("Countries Editor"));
    QCOMPARE(shown, (QStringList{mark + "France", "Spain"}));
    // Sorted; the empty line is an unchecked entry; the final line break adds none.
    QCOMPARE(dialog->Countries(), items({}, {""}) + items({}, {"France" + mark}) + items({"Peru"}) +
                                      items({}, {"Spain"}));
}

void TestOptionsDialog::editorCancelChangesNothing()
{
    auto dialog = makeDialog();
    dialog->setCountries(items({"France"}, {"Spain"}));
    QTimer::singleShot(0, dialog.get(), [&] {
        TForm7 *editor = dialog->StringListEditor();
        editor->Memo1->setPlainText(QStringLiteral("Chad"));
        editor->CancelButton->click();
    });
    dialog->EditButton->click();
    QCOMPARE(dialog->Countries(), items({"France"}, {"Spain"}));
}

void TestOptionsDialog::storedValuesOfTheWrongKind_data()
{
    QTest::addColumn<QVariant>("count");
    QTest::addColumn<QVariant>("calculator");
    QTest::newRow("negative") << QVariant(-3) << QVariant(-1);
    QTest::newRow("huge") << QVariant(100000) << QVariant(7);
    QTest::newRow("text") << QVariant("twelve") << QVariant("one");
}

void TestOptionsDialog::storedValuesOfTheWrongKind()
{
    QFETCH(QVariant, count);
    QFETCH(QVariant, calculator);
    m_store->SetValue(QStringLiteral("Options\\RecentlyUsedFileList"), count);
    m_store->SetValue(QStringLiteral("Options\\DistanceCalculator"), calculator);
    m_store->SetValue(QStringLiteral("Options\\AutoPopulateAirlines"), QStringLiteral("no"));
    m_store->SetValue(QStringLiteral("Options\\ComputeDistances"), QStringLiteral("yes"));
    m_store->SetValue(QStringLiteral("Countries\\France"), QStringLiteral("yes"));
    auto dialog = makeDialog();
    QVERIFY(dialog->FormCreate());
    QCOMPARE(dialog->RecentlyUsedFileList(), 5);
    QCOMPARE(dialog->DistanceCalculator(), 0);
    QVERIFY(dialog->AutoPopulateAirlines());
    QVERIFY(!dialog->ComputeDistances()); // its default is off
    QCOMPARE(dialog->Countries(), items({}, {"France"}));
}

void TestOptionsDialog::unreadableCountriesFileStopsLoading()
{
    QVERIFY(QFile::remove(m_dir->filePath(QStringLiteral("Countries.def"))));
    qputenv("http_proxy", "http://proxy.example:3128/");
    m_store->SetValue(QStringLiteral("Options\\RecentlyUsedFileList"), 9);
    m_open.setEntries({"/l/1.xml", "/l/2.xml", "/l/3.xml", "/l/4.xml", "/l/5.xml", "/l/6.xml"});
    auto dialog = makeDialog();
    QVERIFY(!dialog->FormCreate());
    QCOMPARE(m_messages.boxes.size(), 1);
    QVERIFY(m_messages.boxes.first().text.contains(QStringLiteral("Countries.def")));
    // Loaded up to the country list; the list and the proxy keep their built-in states.
    QCOMPARE(dialog->RecentlyUsedFileList(), 9);
    QCOMPARE(dialog->Countries().size(), 235);
    QVERIFY(dialog->CheckedCountries().isEmpty());
    QVERIFY(!dialog->UseProxyServerCheckBox->isChecked());
    QCOMPARE(dialog->ProxyPortEdit->text(), QStringLiteral("80"));
    // Nothing was applied either.
    QCOMPARE(m_open.count(), 6);
}

QTEST_MAIN(TestOptionsDialog)
#include "tst_optionsdialog.moc"
