#pragma once

#include "components/AboutText.h"

// What the program sets its about dialog to: the maker's author, e-mail address, web address
// and credit line, the program's options and its title.
AboutSettings programAboutSettings();

// The about window's texts for the running program, as Help, About... shows them.
AboutTexts programAboutTexts();
