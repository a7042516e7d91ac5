#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

// An error a component raises: its message, in the component's language.
class ComponentError : public std::exception
{
public:
    explicit ComponentError(QString message)
        : m_message(std::move(message)), m_utf8(m_message.toUtf8())
    {
    }
    const QString &message() const { return m_message; }
    const char *what() const noexcept override { return m_utf8.constData(); }

private:
    QString m_message;
    QByteArray m_utf8;
};
