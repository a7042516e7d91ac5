// The settings file on any bytes. The text form: what is read writes out as a clean file that
// reads back as the same tree. The store: every operation the program calls at start-up and
// shut-down works on whatever the file holds, and a value written afterwards reads back.
#include "FuzzSupport.h"

#include "components/LumRegistryEnhanced.h"
#include "components/ScreenPlacement.h"
#include "platform/RegistryText.h"

namespace
{

void checkTextRoundTrip(const QByteArray &bytes)
{
    const RegistryParseResult first = ParseRegistryText(bytes);
    Fuzz::check(first.status == RegistryParseResult::psClean || !first.problems.isEmpty(),
                "a damaged file says what is wrong");
    const QByteArray written = WriteRegistryText(first.tree);
    const RegistryParseResult second = ParseRegistryText(written);
    Fuzz::check(second.status == RegistryParseResult::psClean, "a written file reads cleanly",
                second.problems.join(u'\n'));
    Fuzz::check(WriteRegistryText(second.tree) == written,
                "a written file reads back as the same tree");
}

void runStore(TLumRegistryEnhanced &store)
{
    (void)store.GetValueDefault(QStringLiteral("Version"), QStringLiteral("none"));
    (void)store.GetValueDefault(QStringLiteral("Options\\ProxyPort"), 80);
    QStringList captions;
    store.GetMenu(QStringLiteral("History Lists\\Open"), captions);
    QList<TCheckListItem> countries{{QStringLiteral("France"), false}};
    store.GetCheckListBox(QStringLiteral("Countries"), countries, true);
    TFormPlacement placement;
    if (store.GetFormInfo(QStringLiteral("FormInfo\\Main Window"), placement) ==
        TLumRegistryEnhanced::fiFound) {
        const QList<QRect> screens{{0, 0, 1920, 1080}, {1920, -200, 1280, 1024}};
        const QRect fitted = FitPlacementToScreens(placement, screens);
        Fuzz::check(fitted.width() > 0 && fitted.height() > 0, "a restored window has a size");
        Fuzz::check(std::any_of(screens.begin(), screens.end(),
                                [&fitted](const QRect &s) { return s.contains(fitted); }),
                    "a restored window lies on a screen");
    }
    store.Search(QString(), QStringLiteral("a"), true, opValueData);
    (void)store.CountSubKeys(QString());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytesOf(data, size);
    checkTextRoundTrip(bytes);

    Fuzz::clearFolder();
    TLumRegistryEnhanced store;
    store.setKey(TLumRegistryEnhanced::programKey());
    store.setFileName(Fuzz::writeFile(QStringLiteral("Wingbook.reg"), bytes));
    runStore(store);
    // The same with errors raised, as a caller that asks for them sees it.
    store.setRaiseExceptions(true);
    try {
        runStore(store);
    } catch (const ERegistryEnhanced &) {
    }
    store.setRaiseExceptions(false);

    store.SetValue(QStringLiteral("Options\\Fuzz"), 7);
    Fuzz::check(store.GetValue(QStringLiteral("Options\\Fuzz")) == QVariant(7),
                "a value written to any settings file reads back");
    Fuzz::check(!QFile::exists(store.FileName() + QStringLiteral(".lock")), "no lock is left");
    return 0;
}
