#pragma once

// Runs wingbook-cli in-process over a command line and keeps what it printed.
#include "cli/CliCommands.h"
#include "cli/CliRunner.h"
#include "support/PrivateSettingsFolder.h"

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

struct CliResult {
    int status = -1;
    QString out;
    QString err;
};

// ARGUMENTS are the words after the program's name.
inline CliResult runWingbookCli(const QStringList &arguments)
{
    CliResult result;
    QTextStream out(&result.out);
    QTextStream err(&result.err);
    result.status =
        runCli(QStringList{QStringLiteral("wingbook-cli")} + arguments, cliCommands(), out, err);
    out.flush();
    err.flush();
    return result;
}

// Call from each test's init(): a handler that asks for an option its table entry lacks gets a
// warning from the parser, which then fails the test.
inline void failOnAnyWarning()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
}

inline QByteArray fileContents(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool writeFile(const QString &fileName, const QByteArray &contents)
{
    QFile file(fileName);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

// A part of a JSON document in its compact form, e.g. the rows of one table.
inline QString compactJson(const QJsonValue &value)
{
    const QJsonDocument document =
        value.isArray() ? QJsonDocument(value.toArray()) : QJsonDocument(value.toObject());
    return QString::fromUtf8(document.toJson(QJsonDocument::Compact));
}

// The named fields of every row of a table, joined by ":" per row and by "," between rows:
// "CDG:Paris:1,JFK:New York:2".
inline QString rowFields(const QJsonValue &rows, const QStringList &fields)
{
    QStringList lines;
    for (const QJsonValue &row : rows.toArray()) {
        QStringList values;
        for (const QString &field : fields) {
            const QJsonValue value = row.toObject().value(field);
            values << (value.isDouble() ? QString::number(value.toInt()) : value.toString());
        }
        lines << values.join(QLatin1Char(':'));
    }
    return lines.join(QLatin1Char(','));
}
