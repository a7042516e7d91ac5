#pragma once

#include "components/LumRegistryEnhanced.h"
#include "options/WingbookOptions.h"

#include <QDialog>
#include <QGroupBox>

#include <array>
#include <functional>

class QAction;
class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class RecentFileList;
class TForm7;

// A captioned group of radio buttons, one of which is chosen.
class TRadioGroup : public QGroupBox
{
    Q_OBJECT

public:
    TRadioGroup(const QString &caption, const QStringList &items, QWidget *parent = nullptr);
    int ItemIndex() const;
    void setItemIndex(int index);
    QRadioButton *button(int index) const;

private:
    QButtonGroup *m_group;
};

// The options dialog. Its controls are the live option values: the rest of the program reads
// them through WingbookOptions at the moment it needs one. The settings store is read when the
// dialog is created and when an edit is cancelled, and written when an edit is confirmed.
class TForm2 : public QDialog, public WingbookOptions
{
    Q_OBJECT

public:
    // The controls start in their built-in states; FormCreate loads and applies the options.
    explicit TForm2(TLumRegistryEnhanced *store, QWidget *parent = nullptr);

    // --- what the options reach outside the dialog ---
    // The folder of Countries.def, ending in "/".
    void setCommonDefFilesPath(const QString &folder) { m_commonDefFilesPath = folder; }
    // The Open and Import recent-file lists that ActivateOptions trims.
    void setRecentLists(RecentFileList *openList, RecentFileList *importList);
    // Receives the proxy that ActivateOptions gives the update check.
    void setProxyReceiver(std::function<void(const QString &address, const QString &port)> r);
    // The proxy the update check was last given.
    const QString &ProxyAddress() const { return m_proxyAddress; }
    const QString &ProxyPort() const { return m_proxyPort; }
    // The string list editor for "Edit..." (the program's one TForm7); without one the dialog
    // makes its own.
    void setStringListEditor(TForm7 *editor) { m_editor = editor; }
    TForm7 *StringListEditor();

    // --- operations ---
    // Sets every control from the store. False when the store has no country list and
    // Countries.def cannot be read: the error is shown and loading stops there.
    bool LoadOptionsFromRegistry();
    void SaveOptionsToRegistry();
    // Trims the recent-file lists and gives the update check its proxy.
    void ActivateOptions();
    // The creation step: load, then apply; false when loading stopped.
    bool FormCreate();
    // The Options command: opens on "Preferences", then applies the answer (EditFinished).
    void Execute();
    // OK: apply, then store. Cancel: reload from the store, then apply.
    void EditFinished(bool confirmed);

    // --- WingbookOptions, read from the controls ---
    bool HandleDoubleClicksAsPropertiesDisplay() const override;
    bool PromptBeforeOverwritingFiles() const override;
    bool AutoPopulateAirlines() const override;
    bool AutoPopulateAirports() const override;
    bool AutoPopulateDistances() const override;
    bool DisplayLatestFlightsFirst() const override;
    bool SortAlphabeticalCodes() const override;
    bool OpenLastOpenedFileAtStartup() const override;
    bool ComputeDistances() const override;
    int RecentlyUsedFileList() const override;
    int InformationProvider() const override;
    int DistanceCalculator() const override;
    QStringList CheckedCountries() const override;

    // The country list's entries in list order, and a replacement (the list sorts itself).
    QList<TCheckListItem> Countries() const;
    void setCountries(const QList<TCheckListItem> &items);

    // --- controls ---
    QTabWidget *PageControl1 = nullptr;
    QCheckBox *HandleDoubleClicksAsPropertiesDisplayCheckBox = nullptr;
    QCheckBox *PromptBeforeOverwritingFilesCheckBox = nullptr;
    QCheckBox *AutoPopulateAirlinesCheckBox = nullptr;
    QCheckBox *AutoPopulateAirportsCheckBox = nullptr;
    QCheckBox *AutoPopulateDistancesCheckBox = nullptr;
    QCheckBox *DisplayLatestFlightsFirstCheckBox = nullptr;
    QCheckBox *SortAlphabeticalCodesCheckBox = nullptr;
    QCheckBox *OpenLastOpenedFileAtStartupCheckBox = nullptr;
    // Shown after "Auto populate distances"; loaded and stored after the other options.
    QCheckBox *ComputeDistancesCheckBox = nullptr;
    // The recent-file count: one field with its up/down arrows.
    QSpinBox *RecentlyUsedFileListUpDown = nullptr;
    TRadioGroup *InformationProviderRadioGroup = nullptr;
    TRadioGroup *DistanceCalculatorRadioGroup = nullptr;
    QListWidget *CountriesCheckListBox = nullptr;
    QMenu *CountriesPopupMenu = nullptr;
    QAction *CheckAllMenuItem = nullptr;
    QAction *UncheckAllMenuItem = nullptr;
    QCheckBox *UseProxyServerCheckBox = nullptr;
    QLineEdit *ProxyAddressEdit = nullptr;
    QLineEdit *ProxyPortEdit = nullptr;
    QPushButton *OKButton = nullptr;
    QPushButton *CancelButton = nullptr;
    QPushButton *PreferencesDefaultButton = nullptr;
    QPushButton *CountriesDefaultButton = nullptr;
    QPushButton *EditButton = nullptr;
    QPushButton *UpdateDefaultButton = nullptr;
    QPushButton *IEButton = nullptr;

    // --- event handlers ---
    void UseProxyServerCheckBoxClick();
    void PreferencesDefaultButtonClick();
    void CountriesDefaultButtonClick();
    void EditButtonClick();
    void UpdateDefaultButtonClick();
    void IEButtonClick();
    void CountriesPopupMenuPopup();
    void CheckAllMenuItemClick();
    void UncheckAllMenuItemClick();

private:
    QWidget *createPreferencesPage();
    QWidget *createAdvancedPage();
    QWidget *createCountriesPage();
    QWidget *createUpdatePage();
    // Replaces the country list by the lines of Countries.def, all checked; false (error shown,
    // list unchanged) when the file cannot be read.
    bool loadCountriesFile();
    void setAllCountriesChecked(bool checked);
    void centreOnScreen();

    TLumRegistryEnhanced *m_store;
    std::array<QCheckBox *, 8> m_preferenceBoxes{};
    QString m_commonDefFilesPath;
    RecentFileList *m_openList = nullptr;
    RecentFileList *m_importList = nullptr;
    std::function<void(const QString &, const QString &)> m_proxyReceiver;
    QString m_proxyAddress;
    QString m_proxyPort = QStringLiteral("80");
    TForm7 *m_editor = nullptr;
};
