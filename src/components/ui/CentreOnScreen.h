#pragma once

class QWidget;

// Moves a window to the centre of its screen, laying it out first when it has not been shown.
void centreOnScreen(QWidget *window);
