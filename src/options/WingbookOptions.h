#pragma once

#include <QString>
#include <QStringList>

// The options every part of the program reads. The options dialog answers from its controls;
// the command-line tool answers from an OptionSet filled from the settings store and --option.
class WingbookOptions
{
public:
    virtual ~WingbookOptions() = default;

    virtual bool HandleDoubleClicksAsPropertiesDisplay() const = 0;
    virtual bool PromptBeforeOverwritingFiles() const = 0;
    virtual bool AutoPopulateAirlines() const = 0;
    virtual bool AutoPopulateAirports() const = 0;
    virtual bool AutoPopulateDistances() const = 0;
    virtual bool DisplayLatestFlightsFirst() const = 0;
    virtual bool SortAlphabeticalCodes() const = 0;
    virtual bool OpenLastOpenedFileAtStartup() const = 0;
    // "Compute distances from airport positions": a new distance gets the miles between the
    // airports' positions instead of 0. Off unless the user turns it on.
    virtual bool ComputeDistances() const = 0;
    virtual int RecentlyUsedFileList() const = 0;
    virtual int InformationProvider() const = 0;
    virtual int DistanceCalculator() const = 0;
    // The checked countries, in list order: the airport dialog's country choices.
    virtual QStringList CheckedCountries() const = 0;
};

// Plain option values with their built-in defaults.
class OptionSet : public WingbookOptions
{
public:
    // The value names of the check-box options below "Options\": the eight of the Preferences
    // page in dialog order, then "ComputeDistances".
    static const QStringList &checkBoxNames();
    // A check-box option's value when the store has none: true but for "ComputeDistances".
    static bool checkBoxDefault(const QString &name);

    // Sets a check-box option by its value name; false when the name is unknown.
    bool setCheckBox(const QString &name, bool on);
    // Reads a check-box option by its value name; false for an unknown name.
    bool checkBox(const QString &name) const;

    bool HandleDoubleClicksAsPropertiesDisplay() const override { return handleDoubleClicks; }
    bool PromptBeforeOverwritingFiles() const override { return promptBeforeOverwriting; }
    bool AutoPopulateAirlines() const override { return autoPopulateAirlines; }
    bool AutoPopulateAirports() const override { return autoPopulateAirports; }
    bool AutoPopulateDistances() const override { return autoPopulateDistances; }
    bool DisplayLatestFlightsFirst() const override { return displayLatestFlightsFirst; }
    bool SortAlphabeticalCodes() const override { return sortAlphabeticalCodes; }
    bool OpenLastOpenedFileAtStartup() const override { return openLastOpenedFile; }
    bool ComputeDistances() const override { return computeDistances; }
    int RecentlyUsedFileList() const override { return recentlyUsedFileList; }
    int InformationProvider() const override { return informationProvider; }
    int DistanceCalculator() const override { return distanceCalculator; }
    QStringList CheckedCountries() const override { return checkedCountries; }

    bool handleDoubleClicks = true;
    bool promptBeforeOverwriting = true;
    bool autoPopulateAirlines = true;
    bool autoPopulateAirports = true;
    bool autoPopulateDistances = true;
    bool displayLatestFlightsFirst = true;
    bool sortAlphabeticalCodes = true;
    bool openLastOpenedFile = true;
    bool computeDistances = false;
    int recentlyUsedFileList = 5;
    int informationProvider = 0;
    int distanceCalculator = 0;
    QStringList checkedCountries;
};
