#include "cli/CliOptions.h"

#include "components/LumRegistryEnhanced.h"
#include "options/StoredOptions.h"
#include "platform/SpecialFolders.h"

#include <QDir>
#include <memory>

namespace
{

QString withTrailingSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
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
    const QString folder = stored.typeId() == QMetaType::QString ? stored.toString() : fallback;
    return withTrailingSeparator(QDir::fromNativeSeparators(folder));
}

} // namespace

void LoadCliDefaults(CliContext &ctx)
{
    const std::unique_ptr<TLumRegistryEnhanced> store(TLumRegistryEnhanced::makeProgramStore());
    ctx.options = LoadStoredOptions(*store);
    ctx.defFilesPath = storedFolder(*store, OptionKeys::DefFilesPath, DefaultDefFilesPath());
    ctx.commonDefFilesPath =
        storedFolder(*store, OptionKeys::CommonDefFilesPath, DefaultCommonDefFilesPath());
}

bool ApplyCliGlobalOptions(QStringList &args, CliContext &ctx, QString &problem)
{
    while (!args.isEmpty()) {
        const QString word = args.first();
        if (word == QLatin1String("--option") || word == QLatin1String("--def-files-path")) {
            if (args.size() < 2) {
                problem = QStringLiteral("%1 needs a value").arg(word);
                return false;
            }
            const QString value = args.at(1);
            args.remove(0, 2);
            if (word == QLatin1String("--option")) {
                if (!applyOption(value, ctx.options, problem))
                    return false;
            } else {
                ctx.defFilesPath = withTrailingSeparator(QDir::fromNativeSeparators(value));
            }
        } else if (word.startsWith(QLatin1String("--option="))) {
            args.removeFirst();
            if (!applyOption(word.mid(9), ctx.options, problem))
                return false;
        } else if (word.startsWith(QLatin1String("--def-files-path="))) {
            args.removeFirst();
            ctx.defFilesPath = withTrailingSeparator(word.mid(17));
        } else {
            break;
        }
    }
    return true;
}
