// The program entry: the application title, the main window, the start-up file, the event loop.
#include "app/AppIcons.h"
#include "app/WingbookUnit1.h"
#include "options/WingbookOptions.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wingbook"));
    QGuiApplication::setDesktopFileName(QStringLiteral("wingbook"));
    QApplication::setWindowIcon(appIcon(AppIcon::Application));

    // The options dialog takes this place once it exists; until then the built-in defaults.
    OptionSet options;
    TForm1 form;
    form.setOptions(&options);
    form.trimRecentLists();
    // The windows of the record dialogs, the string list editor and the statistics are
    // created here, after the main window and the options, once they exist.
    form.OpenStartupFile(app.arguments().mid(1));
    form.show();
    return app.exec();
}
