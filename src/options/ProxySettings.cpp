#include "options/ProxySettings.h"

#include <QUrl>

bool QuerySystemProxySettings(SystemProxySettings &settings)
{
    // curl and most tools take the lower-case name first.
    for (const char *name : {"http_proxy", "HTTP_PROXY"}) {
        const QString server = ProxyServerFromUrl(qEnvironmentVariable(name).trimmed());
        if (!server.isEmpty()) {
            settings.proxyInUse = true;
            settings.proxyServer = server;
            return true;
        }
    }
    return false;
}

QString ProxyServerFromUrl(const QString &url)
{
    if (url.isEmpty())
        return {};
    const QString withScheme =
        url.contains(QLatin1String("://")) ? url : QStringLiteral("http://") + url;
    const QUrl parsed(withScheme, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.host().isEmpty())
        return {};
    return parsed.host() + QLatin1Char(':') + QString::number(parsed.port(80));
}

ProtocolProxy ParseProxyServerString(const QString &protocol, const QString &proxyServer)
{
    static const QStringList known = {QStringLiteral("http"), QStringLiteral("https"),
                                      QStringLiteral("ftp"), QStringLiteral("socks")};
    QString name = protocol.toLower();
    if (!known.contains(name))
        name = QStringLiteral("http");

    ProtocolProxy result;
    QString s = proxyServer;
    const QString entry = name + QLatin1Char('=');
    const qsizetype at = s.indexOf(entry);
    if (at >= 0) {
        s = s.mid(at + entry.size());
        const qsizetype blank = s.indexOf(QLatin1Char(' '));
        s = blank >= 0 ? s.left(blank) : s.left(s.indexOf(QLatin1Char(';')));
    }
    const qsizetype colon = s.indexOf(QLatin1Char(':'));
    if (colon >= 0) {
        result.host = s.left(colon);
        bool ok = false;
        const int port = s.mid(colon + 1).toInt(&ok);
        result.port = ok && port >= 0 ? port : 0;
    }
    return result;
}

ProtocolProxy SystemProxyFor(const QString &protocol)
{
    SystemProxySettings settings;
    if (!QuerySystemProxySettings(settings))
        return {};
    ProtocolProxy result = ParseProxyServerString(protocol, settings.proxyServer);
    result.inUse = settings.proxyInUse;
    return result;
}
