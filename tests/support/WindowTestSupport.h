#pragma once

// What the window tests share: message boxes and file dialogs recorded and answered instead of
// shown, and a settings folder of the test's own.
#include "components/ui/MessageBoxes.h"
#include "platform/ui/FileDialogs.h"
#include "support/PrivateSettingsFolder.h"

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QtGlobal>

namespace WindowTests
{

// Every message box shown while it lives is recorded and answered by the next of `answers`,
// or, when none is left, No to a confirmation and OK to any other box.
class MessageBoxRecorder
{
public:
    MessageBoxRecorder()
    {
        MessageBoxes::setResponder([this](const MessageBoxes::Request &request) {
            boxes.append(request);
            if (!answers.isEmpty())
                return answers.takeFirst();
            return request.kind == MessageBoxes::Kind::Confirmation ? QMessageBox::No
                                                                    : QMessageBox::Ok;
        });
    }
    ~MessageBoxRecorder() { MessageBoxes::setResponder({}); }
    MessageBoxRecorder(const MessageBoxRecorder &) = delete;
    MessageBoxRecorder &operator=(const MessageBoxRecorder &) = delete;

    void clear()
    {
        boxes.clear();
        answers.clear();
    }
    QList<MessageBoxes::Request> of(MessageBoxes::Kind kind) const
    {
        QList<MessageBoxes::Request> found;
        for (const MessageBoxes::Request &request : boxes) {
            if (request.kind == kind)
                found.append(request);
        }
        return found;
    }
    QStringList texts(MessageBoxes::Kind kind) const
    {
        QStringList found;
        for (const MessageBoxes::Request &request : of(kind))
            found.append(request.text);
        return found;
    }

    QList<MessageBoxes::Request> boxes;
    QList<QMessageBox::StandardButton> answers;
};

// Every open-file and save-file dialog shown while it lives is recorded and answered by the
// next of `answers`, or cancelled when none is left.
class FileDialogRecorder
{
public:
    FileDialogRecorder()
    {
        FileDialogs::setResponder([this](const FileDialogs::Request &request) {
            requests.append(request);
            return answers.isEmpty() ? FileDialogs::Result{} : answers.takeFirst();
        });
    }
    ~FileDialogRecorder() { FileDialogs::setResponder({}); }
    FileDialogRecorder(const FileDialogRecorder &) = delete;
    FileDialogRecorder &operator=(const FileDialogRecorder &) = delete;

    void clear()
    {
        requests.clear();
        answers.clear();
    }

    QList<FileDialogs::Request> requests;
    QList<FileDialogs::Result> answers;
};

using TestSupport::PrivateSettingsFolder;

} // namespace WindowTests
