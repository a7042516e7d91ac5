#include "statistics/ui/StatisticsCommand.h"

#include "app/WingbookUnit1.h"
#include "statistics/ui/WingbookUnit8.h"

TForm8 *CreateStatisticsWindow(TForm1 &form)
{
    auto *window = new TForm8(&form);
    form.setCommandHandler(MainCommand::Statistics, [&form, window] {
        window->StatisticsToolButtonClick(form.Document(), form.options());
    });
    return window;
}
