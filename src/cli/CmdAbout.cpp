// about: the texts of the about window (Help, About...), printed instead of shown.
#include "cli/CliCommand.h"
#include "components/ProgramAbout.h"

#include <QJsonDocument>
#include <QJsonObject>

int aboutCommand(CliContext &ctx)
{
    const AboutTexts t = programAboutTexts();
    if (!t.memoryError.isEmpty())
        ctx.notice(t.memoryError); // the window shows it in a box and opens all the same
    if (ctx.isSet(QStringLiteral("json"))) {
        const QJsonObject object{
            {QStringLiteral("Title"), t.title},
            {QStringLiteral("Application"), t.application},
            {QStringLiteral("Version"), t.version},
            {QStringLiteral("Copyright"), t.copyright},
            {QStringLiteral("Text"), t.text},
            {QStringLiteral("Author"), t.author},
            {QStringLiteral("Email"), t.email},
            {QStringLiteral("URL"), t.url},
            {QStringLiteral("PhysicalMemory"), t.physMem},
            {QStringLiteral("OSInfo"), t.osInfo},
        };
        ctx.out << QJsonDocument(object).toJson(QJsonDocument::Indented);
        return 0;
    }
    // The window's lines from top to bottom, the hidden ones left out.
    ctx.out << t.title << '\n' << t.application << '\n' << t.version << '\n' << t.copyright << '\n';
    if (t.textVisible)
        ctx.out << t.text << '\n';
    if (t.authorVisible)
        ctx.out << t.author << '\n';
    if (t.emailVisible)
        ctx.out << t.email << '\n';
    if (t.urlVisible)
        ctx.out << t.url << '\n';
    ctx.out << t.memoryLabel << ' ' << t.physMem << '\n';
    if (t.osInfoVisible)
        ctx.out << t.osInfo << '\n';
    return 0;
}
