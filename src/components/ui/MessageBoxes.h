#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>

class QWidget;

// The program's message boxes. Every box goes through here, so tests can observe and answer
// them by installing a responder instead of facing a modal box.
class MessageBoxes
{
public:
    enum class Kind {
        Confirmation, // question icon, Yes and No
        Error,        // error icon, OK
        Information,  // information icon, OK
        Plain,        // no icon, OK (the find results)
    };

    struct Request {
        Kind kind;
        QString title;
        QString text;
    };

    // Answers a request with the button pressed. Without a responder, real boxes are shown.
    using Responder = std::function<QMessageBox::StandardButton(const Request &)>;
    static void setResponder(Responder responder);
    static bool hasResponder();

    // Yes/No question; true on Yes.
    static bool confirm(QWidget *parent, const QString &text);
    static void error(QWidget *parent, const QString &text);
    static void information(QWidget *parent, const QString &text);
    static void plain(QWidget *parent, const QString &title, const QString &text);
    // The standard error box for an error no operation handled: titled with the application
    // title, and a full stop appended when the text's last character sorts after ".".
    static void standardError(QWidget *parent, const QString &message);
    static QString withFullStop(const QString &message);

private:
    static QMessageBox::StandardButton show(QWidget *parent, const Request &request);
};
