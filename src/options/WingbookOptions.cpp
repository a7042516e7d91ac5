#include "options/WingbookOptions.h"

namespace
{

// Check-box options in dialog order, with the member each one sets and its default.
struct CheckBoxField {
    const char *name;
    bool OptionSet::*member;
    bool byDefault = true;
};

const CheckBoxField kCheckBoxes[] = {
    {"HandleDoubleClicksAsPropertiesDisplay", &OptionSet::handleDoubleClicks},
    {"PromptBeforeOverwritingFiles", &OptionSet::promptBeforeOverwriting},
    {"AutoPopulateAirlines", &OptionSet::autoPopulateAirlines},
    {"AutoPopulateAirports", &OptionSet::autoPopulateAirports},
    {"AutoPopulateDistances", &OptionSet::autoPopulateDistances},
    {"DisplayLatestFlightsFirst", &OptionSet::displayLatestFlightsFirst},
    {"SortAlphabeticalCodes", &OptionSet::sortAlphabeticalCodes},
    {"OpenLastOpenedFileAtStartup", &OptionSet::openLastOpenedFile},
    {"ComputeDistances", &OptionSet::computeDistances, false},
};

} // namespace

const QStringList &OptionSet::checkBoxNames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const auto &field : kCheckBoxes)
            list << QString::fromLatin1(field.name);
        return list;
    }();
    return names;
}

bool OptionSet::checkBoxDefault(const QString &name)
{
    for (const auto &field : kCheckBoxes) {
        if (name == QLatin1String(field.name))
            return field.byDefault;
    }
    return false;
}

bool OptionSet::setCheckBox(const QString &name, bool on)
{
    for (const auto &field : kCheckBoxes) {
        if (name == QLatin1String(field.name)) {
            this->*field.member = on;
            return true;
        }
    }
    return false;
}

bool OptionSet::checkBox(const QString &name) const
{
    for (const auto &field : kCheckBoxes) {
        if (name == QLatin1String(field.name))
            return this->*field.member;
    }
    return false;
}
