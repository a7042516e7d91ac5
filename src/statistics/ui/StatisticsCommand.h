#pragma once

class TForm1;
class TForm8;

// Creates the statistics window once, owned by the main window, and gives the window's
// Statistics command its handler (which shows the command).
TForm8 *CreateStatisticsWindow(TForm1 &form);
