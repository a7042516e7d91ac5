#include "options/ui/WingbookUnit2.h"

#include "components/TextFileReader.h"
#include "components/ui/MessageBoxes.h"
#include "editing/WebSites.h"
#include "model/RecentFileList.h"
#include "options/CheckListText.h"
#include "options/CountryList.h"
#include "options/ProxySettings.h"
#include "options/StoredOptions.h"
#include "options/ui/WingbookUnit7.h"
#include "platform/ui/DefaultFont.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCollator>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>

namespace
{

const QString kUseProxyServer = QStringLiteral("Options\\UseProxyServer");
const QString kProxyAddress = QStringLiteral("Options\\ProxyAddress");
const QString kProxyPort = QStringLiteral("Options\\ProxyPort");
const QString kCountriesFile = QStringLiteral("Countries.def");
constexpr int kDefaultRecentFiles = 5;
constexpr int kMaxRecentFiles = 100;
constexpr size_t kAutoPopulateDistancesBox = 4;
const QString kComputeDistances = QStringLiteral("ComputeDistances");

// The port field takes only digits from the keyboard; a stored text is shown as it is.
class DigitsOnlyFilter : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            const bool printable = !text.isEmpty() && text.at(0).isPrint();
            if (printable && !std::all_of(text.begin(), text.end(),
                                          [](QChar c) { return c >= u'0' && c <= u'9'; }))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The caption of the first distance calculator: its site's domain name.
QString firstCalculatorCaption()
{
    QString host = QUrl(QString::fromLatin1(FirstDistanceCalculatorBase)).host();
    if (host.startsWith(QLatin1String("www.")))
        host.remove(0, 4);
    return host;
}

} // namespace

// --- TRadioGroup ---

TRadioGroup::TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent)
    : QGroupBox(caption, parent), m_group(new QButtonGroup(this))
{
    auto *layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto *button = new QRadioButton(items.at(i));
        m_group->addButton(button, i);
        layout->addWidget(button);
    }
    layout->addStretch(1);
    setItemIndex(0);
}

int TRadioGroup::ItemIndex() const
{
    return m_group->checkedId();
}

void TRadioGroup::setItemIndex(int index)
{
    if (QAbstractButton *button = m_group->button(index))
        button->setChecked(true);
}

QRadioButton *TRadioGroup::button(int index) const
{
    return qobject_cast<QRadioButton *>(m_group->button(index));
}

// --- TForm2 ---

TForm2::TForm2(TLumRegistryEnhanced *store, QWidget *parent) : QDialog(parent), m_store(store)
{
    setWindowTitle(QStringLiteral("Options"));
    PageControl1 = new QTabWidget;
    // All four page tabs stay in sight: the dialog is made wide enough for them.
    PageControl1->setUsesScrollButtons(false);
    PageControl1->addTab(createPreferencesPage(), QStringLiteral("Preferences"));
    PageControl1->addTab(createAdvancedPage(), QStringLiteral("Advanced"));
    PageControl1->addTab(createCountriesPage(), QStringLiteral("Countries"));
    PageControl1->addTab(createUpdatePage(), QStringLiteral("Update"));

    auto *buttons = new QDialogButtonBox;
    OKButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    CancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    OKButton->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(buttons);
}

QWidget *TForm2::createPreferencesPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    const QString captions[] = {
        QStringLiteral("Handle double-clicks as properties display"),
        QStringLiteral("Prompt before overwriting files"),
        QStringLiteral("Auto populate airlines"),
        QStringLiteral("Auto populate airports"),
        QStringLiteral("Auto populate distances"),
        QStringLiteral("Display latest flights first"),
        QStringLiteral("Sort alphabetical codes"),
        QStringLiteral("Open last opened file at startup"),
    };
    for (size_t i = 0; i < m_preferenceBoxes.size(); ++i) {
        m_preferenceBoxes[i] = new QCheckBox(captions[i]);
        m_preferenceBoxes[i]->setChecked(true);
        layout->addWidget(m_preferenceBoxes[i]);
        // The distances' own option goes with the automatic filling of distances.
        if (i == kAutoPopulateDistancesBox) {
            ComputeDistancesCheckBox =
                new QCheckBox(QStringLiteral("Compute distances from airport positions"));
            layout->addWidget(ComputeDistancesCheckBox);
        }
    }
    HandleDoubleClicksAsPropertiesDisplayCheckBox = m_preferenceBoxes[0];
    PromptBeforeOverwritingFilesCheckBox = m_preferenceBoxes[1];
    AutoPopulateAirlinesCheckBox = m_preferenceBoxes[2];
    AutoPopulateAirportsCheckBox = m_preferenceBoxes[3];
    AutoPopulateDistancesCheckBox = m_preferenceBoxes[4];
    DisplayLatestFlightsFirstCheckBox = m_preferenceBoxes[5];
    SortAlphabeticalCodesCheckBox = m_preferenceBoxes[6];
    OpenLastOpenedFileAtStartupCheckBox = m_preferenceBoxes[7];

    RecentlyUsedFileListUpDown = new QSpinBox;
    RecentlyUsedFileListUpDown->setRange(0, kMaxRecentFiles);
    RecentlyUsedFileListUpDown->setValue(kDefaultRecentFiles);
    RecentlyUsedFileListUpDown->setGroupSeparatorShown(false);
    auto *countRow = new QHBoxLayout;
    auto *countLabel = new QLabel(QStringLiteral("Recently used file list :"));
    countLabel->setBuddy(RecentlyUsedFileListUpDown);
    countRow->addWidget(countLabel);
    countRow->addWidget(RecentlyUsedFileListUpDown);
    countRow->addStretch(1);
    layout->addLayout(countRow);
    layout->addStretch(1);

    PreferencesDefaultButton = new QPushButton(QStringLiteral("Default"));
    connect(PreferencesDefaultButton, &QPushButton::clicked, this,
            &TForm2::PreferencesDefaultButtonClick);
    layout->addWidget(PreferencesDefaultButton, 0, Qt::AlignRight);
    return page;
}

QWidget *TForm2::createAdvancedPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    InformationProviderRadioGroup = new TRadioGroup(QStringLiteral("Information Provider"),
                                                    {QString::fromLatin1(InformationProviderName)});
    DistanceCalculatorRadioGroup = new TRadioGroup(
        QStringLiteral("Distance Calculator"),
        {firstCalculatorCaption(), QString::fromLatin1(SecondDistanceCalculatorName)});
    layout->addWidget(InformationProviderRadioGroup);
    layout->addWidget(DistanceCalculatorRadioGroup);
    layout->addStretch(1);
    return page;
}

QWidget *TForm2::createCountriesPage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    CountriesCheckListBox = new QListWidget;
    auto *label = new QLabel(QStringLiteral("Countries :"));
    label->setBuddy(CountriesCheckListBox);
    layout->addWidget(label);
    layout->addWidget(CountriesCheckListBox, 1);
    QList<TCheckListItem> builtIn;
    for (const QString &name : BuiltInCountries())
        builtIn.append({name, false});
    setCountries(builtIn);

    CountriesPopupMenu = new QMenu(this);
    CheckAllMenuItem = CountriesPopupMenu->addAction(QStringLiteral("Check All"), this,
                                                     &TForm2::CheckAllMenuItemClick);
    UncheckAllMenuItem = CountriesPopupMenu->addAction(QStringLiteral("Uncheck All"), this,
                                                       &TForm2::UncheckAllMenuItemClick);
    connect(CountriesPopupMenu, &QMenu::aboutToShow, this, &TForm2::CountriesPopupMenuPopup);
    CountriesCheckListBox->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CountriesCheckListBox, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &at) {
                CountriesPopupMenu->popup(CountriesCheckListBox->viewport()->mapToGlobal(at));
            });

    auto *buttons = new QHBoxLayout;
    EditButton = new QPushButton(QStringLiteral("Edit..."));
    CountriesDefaultButton = new QPushButton(QStringLiteral("Default"));
    connect(EditButton, &QPushButton::clicked, this, &TForm2::EditButtonClick);
    connect(CountriesDefaultButton, &QPushButton::clicked, this,
            &TForm2::CountriesDefaultButtonClick);
    buttons->addStretch(1);
    buttons->addWidget(EditButton);
    buttons->addWidget(CountriesDefaultButton);
    layout->addLayout(buttons);
    return page;
}

QWidget *TForm2::createUpdatePage()
{
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    UseProxyServerCheckBox = new QCheckBox(QStringLiteral("Use proxy server for web update"));
    ProxyAddressEdit = new QLineEdit;
    ProxyPortEdit = new QLineEdit(QStringLiteral("80"));
    ProxyPortEdit->installEventFilter(new DigitsOnlyFilter(ProxyPortEdit));
    ProxyAddressEdit->setEnabled(false);
    ProxyPortEdit->setEnabled(false);
    connect(UseProxyServerCheckBox, &QCheckBox::toggled, this,
            &TForm2::UseProxyServerCheckBoxClick);
    layout->addWidget(UseProxyServerCheckBox);
    auto *fields = new QFormLayout;
    fields->addRow(QStringLiteral("Proxy address :"), ProxyAddressEdit);
    fields->addRow(QStringLiteral("Proxy port :"), ProxyPortEdit);
    layout->addLayout(fields);
    layout->addStretch(1);

    auto *buttons = new QHBoxLayout;
    IEButton = new QPushButton(QStringLiteral("IE"));
    UpdateDefaultButton = new QPushButton(QStringLiteral("Default"));
    connect(IEButton, &QPushButton::clicked, this, &TForm2::IEButtonClick);
    connect(UpdateDefaultButton, &QPushButton::clicked, this, &TForm2::UpdateDefaultButtonClick);
    buttons->addStretch(1);
    buttons->addWidget(IEButton);
    buttons->addWidget(UpdateDefaultButton);
    layout->addLayout(buttons);
    return page;
}

void TForm2::setRecentLists(RecentFileList *openList, RecentFileList *importList)
{
    m_openList = openList;
    m_importList = importList;
}

void TForm2::setProxyReceiver(std::function<void(const QString &, const QString &)> r)
{
    m_proxyReceiver = std::move(r);
}

TForm7 *TForm2::StringListEditor()
{
    if (!m_editor)
        m_editor = new TForm7(this);
    return m_editor;
}

// --- the store ---

bool TForm2::LoadOptionsFromRegistry()
{
    const OptionSet stored = LoadStoredOptions(*m_store);
    const QStringList &names = OptionSet::checkBoxNames();
    for (size_t i = 0; i < m_preferenceBoxes.size(); ++i)
        m_preferenceBoxes[i]->setChecked(stored.checkBox(names.at(qsizetype(i))));
    ComputeDistancesCheckBox->setChecked(stored.computeDistances);
    RecentlyUsedFileListUpDown->setValue(stored.recentlyUsedFileList);
    InformationProviderRadioGroup->setItemIndex(stored.informationProvider);
    DistanceCalculatorRadioGroup->setItemIndex(stored.distanceCalculator);

    const QString countriesKey = QLatin1String(OptionKeys::Countries);
    if (m_store->KeyExists(countriesKey)) {
        QList<TCheckListItem> items = Countries();
        m_store->GetCheckListBox(countriesKey, items, true);
        setCountries(items);
    } else if (!loadCountriesFile()) {
        return false;
    }

    const ProtocolProxy system = SystemProxyFor(QStringLiteral("http"));
    UseProxyServerCheckBox->setChecked(
        StoredBool(m_store->GetValueDefault(kUseProxyServer, system.inUse), system.inUse));
    ProxyAddressEdit->setText(m_store->GetValueDefault(kProxyAddress, system.host).toString());
    ProxyPortEdit->setText(
        m_store->GetValueDefault(kProxyPort, QString::number(system.port)).toString());
    return true;
}

void TForm2::SaveOptionsToRegistry()
{
    const QStringList &names = OptionSet::checkBoxNames();
    for (size_t i = 0; i < m_preferenceBoxes.size(); ++i)
        m_store->SetValue(OptionKeys::checkBox(names.at(qsizetype(i))),
                          m_preferenceBoxes[i]->isChecked());
    m_store->SetValue(QLatin1String(OptionKeys::RecentlyUsedFileList),
                      RecentlyUsedFileListUpDown->value());
    m_store->SetValue(QLatin1String(OptionKeys::InformationProvider),
                      InformationProviderRadioGroup->ItemIndex());
    m_store->SetValue(QLatin1String(OptionKeys::DistanceCalculator),
                      DistanceCalculatorRadioGroup->ItemIndex());
    m_store->SetCheckListBox(QLatin1String(OptionKeys::Countries), Countries());
    m_store->SetValue(kUseProxyServer, UseProxyServerCheckBox->isChecked());
    m_store->SetValue(kProxyAddress, ProxyAddressEdit->text());
    m_store->SetValue(kProxyPort, ProxyPortEdit->text());
    m_store->SetValue(OptionKeys::checkBox(kComputeDistances),
                      ComputeDistancesCheckBox->isChecked());
}

void TForm2::ActivateOptions()
{
    const int count = RecentlyUsedFileListUpDown->value();
    if (m_openList)
        m_openList->trimTo(count);
    if (m_importList)
        m_importList->trimTo(count);
    if (UseProxyServerCheckBox->isChecked()) {
        m_proxyAddress = ProxyAddressEdit->text();
        m_proxyPort = ProxyPortEdit->text();
    } else {
        m_proxyAddress.clear();
        m_proxyPort = QStringLiteral("80");
    }
    if (m_proxyReceiver)
        m_proxyReceiver(m_proxyAddress, m_proxyPort);
}

bool TForm2::FormCreate()
{
    SetDefaultFont(this);
    if (!LoadOptionsFromRegistry())
        return false;
    ActivateOptions();
    return true;
}

void TForm2::Execute()
{
    PageControl1->setCurrentIndex(0);
    centreOnScreen();
    EditFinished(exec() == QDialog::Accepted);
}

void TForm2::EditFinished(bool confirmed)
{
    if (confirmed) {
        ActivateOptions();
        SaveOptionsToRegistry();
    } else {
        LoadOptionsFromRegistry();
        ActivateOptions();
    }
}

void TForm2::centreOnScreen()
{
    // Before the first showing the dialog has no laid-out size yet.
    if (!isVisible())
        adjustSize();
    if (const QScreen *where = screen())
        move(where->availableGeometry().center() - rect().center());
}

// --- the options as the program reads them ---

bool TForm2::HandleDoubleClicksAsPropertiesDisplay() const
{
    return HandleDoubleClicksAsPropertiesDisplayCheckBox->isChecked();
}

bool TForm2::PromptBeforeOverwritingFiles() const
{
    return PromptBeforeOverwritingFilesCheckBox->isChecked();
}

bool TForm2::AutoPopulateAirlines() const
{
    return AutoPopulateAirlinesCheckBox->isChecked();
}

bool TForm2::AutoPopulateAirports() const
{
    return AutoPopulateAirportsCheckBox->isChecked();
}

bool TForm2::AutoPopulateDistances() const
{
    return AutoPopulateDistancesCheckBox->isChecked();
}

bool TForm2::DisplayLatestFlightsFirst() const
{
    return DisplayLatestFlightsFirstCheckBox->isChecked();
}

bool TForm2::SortAlphabeticalCodes() const
{
    return SortAlphabeticalCodesCheckBox->isChecked();
}

bool TForm2::OpenLastOpenedFileAtStartup() const
{
    return OpenLastOpenedFileAtStartupCheckBox->isChecked();
}

bool TForm2::ComputeDistances() const
{
    return ComputeDistancesCheckBox->isChecked();
}

int TForm2::RecentlyUsedFileList() const
{
    return RecentlyUsedFileListUpDown->value();
}

int TForm2::InformationProvider() const
{
    return InformationProviderRadioGroup->ItemIndex();
}

int TForm2::DistanceCalculator() const
{
    return DistanceCalculatorRadioGroup->ItemIndex();
}

QStringList TForm2::CheckedCountries() const
{
    QStringList names;
    for (const TCheckListItem &item : Countries()) {
        if (item.checked)
            names.append(item.text);
    }
    return names;
}

// --- the country list ---

QList<TCheckListItem> TForm2::Countries() const
{
    QList<TCheckListItem> items;
    items.reserve(CountriesCheckListBox->count());
    for (int i = 0; i < CountriesCheckListBox->count(); ++i) {
        const QListWidgetItem *item = CountriesCheckListBox->item(i);
        items.append({item->text(), item->checkState() == Qt::Checked});
    }
    return items;
}

void TForm2::setCountries(const QList<TCheckListItem> &items)
{
    // The list keeps itself in alphabetical order of the user's locale, ignoring case, so
    // "Åland Islands" comes between "Afghanistan" and "Albania".
    QList<TCheckListItem> sorted = items;
    const QCollator collator = CountryCollator();
    std::stable_sort(sorted.begin(), sorted.end(),
                     [&collator](const TCheckListItem &a, const TCheckListItem &b) {
                         return collator.compare(a.text, b.text) < 0;
                     });
    CountriesCheckListBox->clear();
    for (const TCheckListItem &entry : std::as_const(sorted)) {
        auto *item = new QListWidgetItem(entry.text);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
        CountriesCheckListBox->addItem(item);
    }
}

bool TForm2::loadCountriesFile()
{
    const TextFileContent content = ReadTextFile(m_commonDefFilesPath + kCountriesFile);
    if (!content.ok) {
        MessageBoxes::standardError(this, content.error);
        return false;
    }
    QList<TCheckListItem> items;
    items.reserve(content.lines.size());
    for (const QString &line : content.lines)
        items.append({line, true});
    setCountries(items);
    return true;
}

void TForm2::setAllCountriesChecked(bool checked)
{
    for (int i = 0; i < CountriesCheckListBox->count(); ++i)
        CountriesCheckListBox->item(i)->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
}

// --- event handlers ---

void TForm2::UseProxyServerCheckBoxClick()
{
    const bool on = UseProxyServerCheckBox->isChecked();
    ProxyAddressEdit->setEnabled(on);
    ProxyPortEdit->setEnabled(on);
}

void TForm2::PreferencesDefaultButtonClick()
{
    RecentlyUsedFileListUpDown->setValue(kDefaultRecentFiles);
}

void TForm2::CountriesDefaultButtonClick()
{
    loadCountriesFile();
}

void TForm2::EditButtonClick()
{
    TForm7 *editor = StringListEditor();
    editor->setWindowTitle(QStringLiteral("Countries Editor"));
    editor->setLines(CheckListToLines(Countries()));
    editor->centreOn(parentWidget());
    if (editor->exec() == QDialog::Accepted)
        setCountries(LinesToCheckList(editor->Lines()));
}

void TForm2::UpdateDefaultButtonClick()
{
    UseProxyServerCheckBox->setChecked(false);
    ProxyAddressEdit->clear();
    ProxyPortEdit->setText(QStringLiteral("80"));
    // The check box may have been off already: the fields are disabled either way.
    UseProxyServerCheckBoxClick();
}

void TForm2::IEButtonClick()
{
    const ProtocolProxy system = SystemProxyFor(QStringLiteral("http"));
    UseProxyServerCheckBox->setChecked(system.inUse);
    ProxyAddressEdit->setText(system.host);
    ProxyPortEdit->setText(QString::number(system.port));
}

void TForm2::CountriesPopupMenuPopup()
{
    bool anyChecked = false;
    bool anyUnchecked = false;
    for (int i = 0; i < CountriesCheckListBox->count(); ++i) {
        if (CountriesCheckListBox->item(i)->checkState() == Qt::Checked)
            anyChecked = true;
        else
            anyUnchecked = true;
    }
    CheckAllMenuItem->setEnabled(anyUnchecked);
    UncheckAllMenuItem->setEnabled(anyChecked);
}

void TForm2::CheckAllMenuItemClick()
{
    setAllCountriesChecked(true);
}

void TForm2::UncheckAllMenuItemClick()
{
    setAllCountriesChecked(false);
}
