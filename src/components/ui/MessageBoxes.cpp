#include "components/ui/MessageBoxes.h"

#include <QApplication>

namespace
{

MessageBoxes::Responder &responder()
{
    static MessageBoxes::Responder instance;
    return instance;
}

QString applicationTitle()
{
    const QString name = QApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Wingbook") : name;
}

} // namespace

void MessageBoxes::setResponder(Responder r)
{
    responder() = std::move(r);
}

bool MessageBoxes::hasResponder()
{
    return bool(responder());
}

QMessageBox::StandardButton MessageBoxes::show(QWidget *parent, const Request &request)
{
    if (responder())
        return responder()(request);
    QMessageBox box(parent);
    box.setWindowTitle(request.title);
    box.setText(request.text);
    switch (request.kind) {
    case Kind::Confirmation:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case Kind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Information:
        box.setIcon(QMessageBox::Information);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case Kind::Plain:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    return QMessageBox::StandardButton(box.exec());
}

bool MessageBoxes::confirm(QWidget *parent, const QString &text)
{
    return show(parent, {Kind::Confirmation, applicationTitle(), text}) == QMessageBox::Yes;
}

void MessageBoxes::error(QWidget *parent, const QString &text)
{
    show(parent, {Kind::Error, applicationTitle(), text});
}

void MessageBoxes::information(QWidget *parent, const QString &text)
{
    show(parent, {Kind::Information, applicationTitle(), text});
}

void MessageBoxes::plain(QWidget *parent, const QString &title, const QString &text)
{
    show(parent, {Kind::Plain, title, text});
}

QString MessageBoxes::withFullStop(const QString &message)
{
    if (!message.isEmpty() && message.back() > QLatin1Char('.'))
        return message + QLatin1Char('.');
    return message;
}

void MessageBoxes::standardError(QWidget *parent, const QString &message)
{
    show(parent, {Kind::Error, QStringLiteral("Wingbook"), withFullStop(message)});
}
