#include "app/CommandLineHelp.h"

#include <cstdio>
#include <cstring>

bool AnswerHelpOrVersion(int argc, char *argv[])
{
    // Only a lone option: the words of a command line otherwise name a log to open.
    if (argc != 2)
        return false;
    if (std::strcmp(argv[1], "--version") == 0) {
        std::printf("wingbook %s\n", WINGBOOK_VERSION);
        return true;
    }
    if (std::strcmp(argv[1], "--help") != 0 && std::strcmp(argv[1], "-h") != 0)
        return false;
    std::printf(
        "Usage: wingbook [LOG]\n"
        "Keeps a log of the flights you have taken: flights, airlines, airports and distances,\n"
        "in an XML file.\n"
        "\n"
        "LOG is a log file (.xml) or a shortcut (.lnk) to one, opened at start-up; all words of\n"
        "the command line together name it. Without LOG the most recent log is opened again\n"
        "when the option \"Open last opened file at startup\" is on.\n"
        "\n"
        "Options:\n"
        "  --help     show this help and exit\n"
        "  --version  show the version and exit\n"
        "\n"
        "Settings are kept in $XDG_CONFIG_HOME/Marovek/Wingbook.reg (usually\n"
        "~/.config/Marovek/Wingbook.reg). The reference files Airlines.def and Airports.def lie\n"
        "in share/Marovek/Wingbook, Countries.def in share/Marovek/Common Files, beside the\n"
        "program's folder. wingbook-cli offers the same log operations without a window.\n");
    return true;
}
