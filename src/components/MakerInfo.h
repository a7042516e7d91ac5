#pragma once

#include <QString>

// The maker's web site and the values the about window shows. The host is a placeholder
// (the reserved ".example" name never resolves) until the project has a site of its own;
// it is named here and nowhere else.
inline QString makerWebHost()
{
    return QStringLiteral("www.marovek.example");
}

// The update description file that every program of the maker reads its section of.
inline QString makerUpdateFileUrl()
{
    return QStringLiteral("https://") + makerWebHost() +
           QStringLiteral("/marovek/MarovekUpdates.txt");
}

// The page about updates, opened when the description names none.
inline QString makerUpdatePageUrl()
{
    return QStringLiteral("https://") + makerWebHost() + QStringLiteral("/marovek/");
}

inline QString makerWebAddress()
{
    return QStringLiteral("https://") + makerWebHost() + u'/';
}

inline QString makerEmail()
{
    return QStringLiteral("support@marovek.example");
}

inline QString makerAuthor()
{
    return QStringLiteral("Marovek");
}

// The credit line above the author's name, which completes it.
inline QString makerCreditLine()
{
    return QStringLiteral("Written in C++ with Qt %1 by :").arg(QLatin1String(QT_VERSION_STR));
}

// The development tool's web page, opened by a double-click on its logo.
inline QString toolMakerWebAddress()
{
    return QStringLiteral("https://www.qt.io/");
}

// The platform's web page, opened by a double-click on the platform logo.
inline QString platformMakerWebAddress()
{
    return QStringLiteral("https://www.kernel.org/");
}
