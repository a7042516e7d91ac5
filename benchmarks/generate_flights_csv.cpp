// Writes the flights of a log as a CSV file to import: generate_flights_csv LOG.xml OUT.csv
// One header line, then one line per flight (Date,Time,From,To,Airline,Flight) in the log's own
// forms, so that importing the file into the same log finds every flight again.
#include "model/LogDocument.h"
#include "model/LogFile.h"
#include "model/LogFileHost.h"
#include "options/WingbookOptions.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        err << "usage: generate_flights_csv LOG.xml OUT.csv\n";
        return 2;
    }
    LogDocument doc;
    OptionSet options;
    LogFileHost host;
    const LogFileResult opened = OpenXMLFile(doc, args[1], options, host);
    if (!opened.ok) {
        err << opened.error << '\n';
        return 1;
    }
    QFile file(args[2]);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        err << "cannot write " << args[2] << ": " << file.errorString() << '\n';
        return 1;
    }
    QByteArray text = "Date,Time,From,To,Airline,Flight\r\n";
    for (int r = 0; r < doc.Flights.count(); ++r) {
        for (int c = 0; c < doc.Flights.columnTotal(); ++c) {
            if (c > 0)
                text += ',';
            text += doc.Flights.cell(r, c).toUtf8();
        }
        text += "\r\n";
        if (text.size() > (1 << 20)) {
            file.write(text);
            text.clear();
        }
    }
    file.write(text);
    if (!file.flush()) {
        err << "cannot write " << args[2] << ": " << file.errorString() << '\n';
        return 1;
    }
    return 0;
}
