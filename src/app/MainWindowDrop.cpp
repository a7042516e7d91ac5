// Files dropped on the main window from the desktop's file manager, and the shortcuts among
// them.
#include "app/WingbookUnit1.h"
#include "components/LumShellLink.h"
#include "components/ui/LumFileDrag.h"
#include "components/ui/MessageBoxes.h"
#include "options/StartupFile.h"

#include <QFileInfo>

void TForm1::createFileDrop()
{
    LumShellLink1 = new TLumShellLink(this);
    LumFileDrag1 = new TLumFileDrag(this);
    LumFileDrag1->OnDrop = [this](QObject *Sender, int X, int Y) {
        LumFileDrag1Drop(Sender, X, Y);
    };
    if (!m_shortcutResolver) {
        setShortcutResolver([this](const QString &path) {
            LumShellLink1->setFileName(path);
            LumShellLink1->Read();
            return LumShellLink1->Target();
        });
    }
}

void TForm1::setShortcutResolver(std::function<QString(const QString &)> resolver)
{
    m_shortcutResolver = std::move(resolver);
}

void TForm1::LumFileDrag1Drop(QObject *Sender, int X, int Y)
{
    Q_UNUSED(Sender);
    Q_UNUSED(X);
    Q_UNUSED(Y);
    QStringList &files = LumFileDrag1->Files();
    for (qsizetype i = 0; i < files.size(); ++i) {
        if (HasExtensionIgnoringCase(files[i], QStringLiteral(".lnk"))) {
            try {
                LumShellLink1->setFileName(files[i]);
                LumShellLink1->Read();
            } catch (const ELumShellLink &error) {
                // A broken shortcut ends the drop: no later file is handled.
                MessageBoxes::standardError(this, error.message());
                return;
            }
            files[i] = LumShellLink1->Target();
        }
        const QString path = files[i];
        // A shortcut whose target has gone is a missing file: nothing to read.
        if (!QFileInfo(path).isFile())
            continue;
        const QString name = QFileInfo(path).fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        const QString extension = dot < 0 ? QString() : name.mid(dot).toLower();
        if (extension == QLatin1String(".xml")) {
            if (!SaveCurrent())
                return;
            openLogFile(path);
        } else if (const auto importer = m_importers.value(extension)) {
            // Imports started by a drop ask no save question first.
            importer(path);
        }
    }
}
