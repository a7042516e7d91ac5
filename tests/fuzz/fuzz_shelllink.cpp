// The shortcut (.lnk) reader on any bytes: it gives a target or the component's error, nothing
// else.
#include "FuzzSupport.h"

#include "components/LumShellLink.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeFile(QStringLiteral("log.lnk"), Fuzz::bytesOf(data, size));
    TLumShellLink link;
    link.setFileName(path);
    try {
        link.Read();
        Fuzz::check(!link.Target().isEmpty(), "a shortcut that reads names a target");
        (void)TLumShellLink::LocalTarget(link.Target());
    } catch (const ELumShellLink &error) {
        Fuzz::check(!error.message().isEmpty(), "a shortcut that does not read says why");
    }
    return 0;
}
