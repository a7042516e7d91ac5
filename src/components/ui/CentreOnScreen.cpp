#include "components/ui/CentreOnScreen.h"

#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget *window)
{
    if (!window->isVisible())
        window->adjustSize();
    if (const QScreen *where = window->screen())
        window->move(where->availableGeometry().center() - window->rect().center());
}
