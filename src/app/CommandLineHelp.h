#pragma once

// "wingbook --help" and "wingbook --version", answered before any window exists, so they work
// without a display (the manual page is made from them at build time). True when the command
// line was one of them and the program should end with status 0.
bool AnswerHelpOrVersion(int argc, char *argv[]);
