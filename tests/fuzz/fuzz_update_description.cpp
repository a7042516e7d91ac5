// The update description file as the update check reads it: any bytes give a description (empty
// where the file says nothing), section names match without regard to case, values carry no
// surrounding blanks, and the version comparison is a strict order.
#include "FuzzSupport.h"

#include "components/UpdateDescription.h"

namespace
{

QStringList fieldsOf(const UpdateDescription &d)
{
    return {d.DownloadFileURL, d.ReadmeFileURL, d.UpdatePageURL, d.Version,
            d.MD5Hash,         d.SHA1Hash,      d.SHA256Hash};
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    Fuzz::clearFolder();
    const QString file = Fuzz::writeFile(QStringLiteral("update.ini"), Fuzz::bytesOf(data, size));
    const QStringList fields = fieldsOf(readUpdateSection(file, QStringLiteral("Wingbook")));
    Fuzz::check(fields == fieldsOf(readUpdateSection(file, QStringLiteral("WINGBOOK"))),
                "a section name matches without regard to case", fields.join(u'|'));
    for (const QString &value : fields) {
        Fuzz::check(value == value.trimmed(), "a value has no blanks around it", value);
    }

    // Any two versions the file gives: never newer than itself, never newer both ways.
    const QString version = fields.at(3);
    const QString other = fields.at(4);
    Fuzz::check(!isNewerVersion(version, version), "a version is not newer than itself", version);
    Fuzz::check(!(isNewerVersion(version, other) && isNewerVersion(other, version)),
                "of two versions at most one is newer", version + u' ' + other);
    return 0;
}
