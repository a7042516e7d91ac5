#pragma once

#include "exchange/TableExport.h"

#include <QObject>

class TForm1;

// The main window's Export command: the Export dialog, then the table of the active page
// written as CSV or DEF by the chosen name's extension, with progress and the stop question.
// Created once with the window, which owns it; creating it shows the command.
class ExportCommand : public QObject
{
    Q_OBJECT

public:
    ExportCommand(TForm1 &form, QObject *parent);

    void ExportToolButtonClick();
    // Write the table of the active page; false (error shown) when the file could not be
    // written.
    bool ExportToCSVFile(const QString &FileName);
    bool ExportToDEFFile(const QString &FileName);

private:
    bool exportActiveTable(ExportFormat format, const QString &fileName);

    TForm1 &m_form;
};
