#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class QWidget;

// The program's open-file and save-file dialogs. Every dialog goes through here, so tests can
// answer them by installing a responder instead of facing a modal dialog.
class FileDialogs
{
public:
    struct Request {
        bool save = false;
        QString title;
        QStringList filters;      // "XML files (*.xml)", ...
        int filterIndex = 0;      // preselected filter
        QString defaultExtension; // given to a name typed without extension, e.g. "xml"
        QString folder;           // starting folder
        QString proposedName;     // file-name part proposed in the name field
        bool overwritePrompt = false;
    };

    struct Result {
        bool accepted = false;
        QString path;        // full path of the chosen file
        int filterIndex = 0; // the filter selected when the dialog closed
    };

    // Answers a request; the result's path gets the default extension applied afterwards just
    // as the real dialog does. Without a responder, real dialogs are shown.
    using Responder = std::function<Result(const Request &)>;
    static void setResponder(Responder responder);

    static Result execute(QWidget *parent, const Request &request);

    // The path with ".ext" appended when its file-name part has no extension.
    static QString withDefaultExtension(const QString &path, const QString &extension);
};
