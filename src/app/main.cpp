// The program entry: the application title, the main window, the start-up file, the event loop.
#include "app/AppIcons.h"
#include "app/CommandLineHelp.h"
#include "app/OptionsStartup.h"
#include "app/WingbookUnit1.h"
#include "editing/ui/RecordCommands.h"
#include "exchange/ui/ExportCommand.h"
#include "exchange/ui/ImportCommands.h"
#include "geography/ui/GeographyCommands.h"
#include "options/WingbookOptions.h"
#include "statistics/ui/StatisticsCommand.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    if (AnswerHelpOrVersion(argc, argv))
        return 0;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Wingbook"));
    QGuiApplication::setDesktopFileName(QStringLiteral("wingbook"));
    QApplication::setWindowIcon(appIcon(AppIcon::Application));

    TForm1 form;
    // The options dialog loads and applies the options, then opens the start-up file.
    CreateOptionsDialog(form, app.arguments().mid(1));
    // The four record dialogs and their commands, owned by the window.
    new RecordCommands(form, &form);
    // The Import command, the Import recent-file list and dropped files to import.
    new ImportCommands(form, &form);
    // The Export command, and the statistics window with its command.
    new ExportCommand(form, &form);
    CreateStatisticsWindow(form);
    // Distances from the airports' positions, the route map and the travel charts.
    auto *geography = new GeographyCommands(form, &form);
    form.setCommandHandler(MainCommand::ComputeDistances,
                           [geography] { geography->ComputeDistancesClick(); });
    form.setCommandHandler(MainCommand::RouteMap, [geography] { geography->RouteMapClick(); });
    form.setCommandHandler(MainCommand::Charts, [geography] { geography->ChartsClick(); });
    form.show();
    return app.exec();
}
