#include "cli/gui/CliGuiCommands.h"

// The handlers, one file each beside this one.
int mapCommand(CliContext &ctx);

const QList<CliCommand> &cliGuiCommands()
{
    // In alphabetical order, as the other table.
    static const QList<CliCommand> commands{
        {QStringLiteral("map"),
         {{QStringLiteral("LOG"), QStringLiteral("the log file")},
          {QStringLiteral("OUT"), QStringLiteral("the picture to write: a .png or an .svg file")}},
         QStringLiteral("draw the route map of a log's flights (the whole world) into a picture"),
         {{QStringLiteral("width"),
           QStringLiteral("the picture's width in pixels (1600 when not given); it is half as "
                          "high"),
           QStringLiteral("N")}},
         mapCommand},
    };
    return commands;
}
