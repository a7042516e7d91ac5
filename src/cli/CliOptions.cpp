#include "cli/CliOptions.h"

#include "components/LumRegistryEnhanced.h"
#include "options/StoredOptions.h"
#include "platform/SpecialFolders.h"

#include <QDir>
#include <memory>

namespace
{

const QString kOption = QStringLiteral("option");
const QString kDefFilesPath = QStringLiteral("def-files-path");

QString asFolder(const QString &folder)
{
    const QString path = QDir::fromNativeSeparators(folder);
    if (path.isEmpty() || path.endsWith(QLatin1Char('/')))
        return path;
    return path + QLatin1Char('/');
}

bool applyOption(const QString &assignment, OptionSet &options, QString &problem)
{
    const qsizetype eq = assignment.indexOf(QLatin1Char('='));
    const QString name = assignment.left(eq);
    const QString value = eq < 0 ? QString() : assignment.mid(eq + 1).toLower();
    if (eq < 0 || (value != QLatin1String("on") && value != QLatin1String("off"))) {
        problem = QStringLiteral("--option takes NAME=on or NAME=off, not \"%1\"").arg(assignment);
        return false;
    }
    if (!options.setCheckBox(name, value == QLatin1String("on"))) {
        problem = QStringLiteral("unknown option \"%1\"").arg(name);
        return false;
    }
    return true;
}

QString storedFolder(const TLumRegistryEnhanced &store, const char *value, const QString &fallback)
{
    const QVariant stored = store.GetValueDefault(QLatin1String(value), fallback);
    return asFolder(stored.typeId() == QMetaType::QString ? stored.toString() : fallback);
}

} // namespace

const QList<CliGlobalOption> &cliGlobalOptions()
{
    static const QList<CliGlobalOption> options{
        {{kOption},
         QStringLiteral("NAME=on|off"),
         QStringLiteral("set a check-box option for this run, NAME being one of:"),
         OptionSet::checkBoxNames()},
        {{kDefFilesPath},
         QStringLiteral("DIR"),
         QStringLiteral("folder of Airlines.def and Airports.def for this run")},
        {{QStringLiteral("h"), QStringLiteral("help")},
         QString(),
         QStringLiteral("show this help")},
        {{QStringLiteral("version")}, QString(), QStringLiteral("show the version")},
    };
    return options;
}

QStringList cliGlobalValueOptions()
{
    QStringList names;
    for (const CliGlobalOption &option : cliGlobalOptions()) {
        if (!option.valueName.isEmpty())
            names << option.names.last();
    }
    return names;
}

void addCliGlobalOptions(QCommandLineParser &parser)
{
    for (const CliGlobalOption &option : cliGlobalOptions())
        parser.addOption(QCommandLineOption(option.names, option.description, option.valueName));
}

CliSettings loadCliDefaults()
{
    const std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
    CliSettings settings;
    settings.options = LoadStoredOptions(*store);
    settings.defFilesPath = storedFolder(*store, OptionKeys::DefFilesPath, DefaultDefFilesPath());
    settings.commonDefFilesPath =
        storedFolder(*store, OptionKeys::CommonDefFilesPath, DefaultCommonDefFilesPath());
    return settings;
}

bool applyCliGlobalOptions(const QCommandLineParser &parser, CliSettings &settings,
                           QString &problem)
{
    for (const QString &assignment : parser.values(kOption)) {
        if (!applyOption(assignment, settings.options, problem))
            return false;
    }
    if (parser.isSet(kDefFilesPath))
        settings.defFilesPath = asFolder(parser.value(kDefFilesPath));
    // An empty folder, stored or given, means the shipped reference files.
    if (settings.defFilesPath.isEmpty())
        settings.defFilesPath = DefaultDefFilesPath();
    if (settings.commonDefFilesPath.isEmpty())
        settings.commonDefFilesPath = DefaultCommonDefFilesPath();
    return true;
}
