#include "options/StoredOptions.h"

#include "components/LumRegistryEnhanced.h"

#include <QVariant>

namespace
{

constexpr int kMaxRecentFiles = 100;

} // namespace

QString OptionKeys::checkBox(const QString &name)
{
    return QStringLiteral("Options\\") + name;
}

bool StoredBool(const QVariant &value, bool fallback)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || value.typeId() == QMetaType::QString)
        return fallback;
    return number != 0;
}

int StoredInt(const QVariant &value, int fallback, int minimum, int maximum)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || value.typeId() == QMetaType::QString || number < minimum || number > maximum)
        return fallback;
    return number;
}

OptionSet LoadStoredOptions(const TLumRegistryEnhanced &store)
{
    OptionSet options;
    for (const QString &name : OptionSet::checkBoxNames()) {
        const bool byDefault = OptionSet::checkBoxDefault(name);
        const QVariant stored = store.GetValueDefault(OptionKeys::checkBox(name), byDefault);
        options.setCheckBox(name, StoredBool(stored, byDefault));
    }
    options.recentlyUsedFileList =
        StoredInt(store.GetValueDefault(QLatin1String(OptionKeys::RecentlyUsedFileList), 5), 5, 0,
                  kMaxRecentFiles);
    options.informationProvider = StoredInt(
        store.GetValueDefault(QLatin1String(OptionKeys::InformationProvider), 0), 0, 0, 0);
    options.distanceCalculator =
        StoredInt(store.GetValueDefault(QLatin1String(OptionKeys::DistanceCalculator), 0), 0, 0, 1);
    QList<TCheckListItem> countries;
    if (store.GetCheckListBox(QLatin1String(OptionKeys::Countries), countries, true)) {
        for (const TCheckListItem &item : countries) {
            if (item.checked)
                options.checkedCountries << item.text;
        }
    }
    return options;
}
