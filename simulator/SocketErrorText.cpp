#include "SocketErrorText.h"

#include <SystemErrorText.h>

#include <cerrno>

namespace SocketErrorText {

QString of(QAbstractSocket::SocketError error)
{
    using E = QAbstractSocket::SocketError;
    switch (error) {
    case E::ConnectionRefusedError:
        return SystemErrorText::of(ECONNREFUSED);
    case E::SocketAccessError:
        return SystemErrorText::of(EACCES);
    case E::SocketTimeoutError:
        return SystemErrorText::of(ETIMEDOUT);
    case E::DatagramTooLargeError:
        return SystemErrorText::of(EMSGSIZE);
    case E::AddressInUseError:
        return SystemErrorText::of(EADDRINUSE);
    case E::SocketAddressNotAvailableError:
        return SystemErrorText::of(EADDRNOTAVAIL);
    case E::TemporaryError:
        return SystemErrorText::of(EAGAIN);
    // Qt gives these for several error numbers, or for none.
    case E::RemoteHostClosedError:
        return QStringLiteral("Die Gegenseite hat die Verbindung geschlossen");
    case E::HostNotFoundError:
        return QStringLiteral("Der Rechner wurde nicht gefunden");
    case E::SocketResourceError:
        return QStringLiteral("Nicht genügend Systemressourcen (offene Dateien oder Speicher)");
    case E::NetworkError:
        return QStringLiteral("Netzwerkfehler");
    case E::UnsupportedSocketOperationError:
        return QStringLiteral("Das System unterstützt diese Verbindungsart nicht");
    case E::UnfinishedSocketOperationError:
        return QStringLiteral("Eine frühere Operation ist noch nicht abgeschlossen");
    case E::OperationError:
        return QStringLiteral("Die Operation ist im jetzigen Zustand der Verbindung nicht möglich");
    case E::ProxyAuthenticationRequiredError:
        return QStringLiteral("Der Proxy verlangt eine Anmeldung");
    case E::ProxyConnectionRefusedError:
        return QStringLiteral("Der Proxy hat die Verbindung abgelehnt");
    case E::ProxyConnectionClosedError:
        return QStringLiteral("Der Proxy hat die Verbindung unerwartet geschlossen");
    case E::ProxyConnectionTimeoutError:
        return QStringLiteral("Der Proxy antwortet nicht");
    case E::ProxyNotFoundError:
        return QStringLiteral("Der Proxy wurde nicht gefunden");
    case E::ProxyProtocolError:
        return QStringLiteral("Die Antwort des Proxys ist unverständlich");
    case E::SslHandshakeFailedError:
    case E::SslInternalError:
    case E::SslInvalidUserDataError:
        return QStringLiteral("Die verschlüsselte Verbindung ist fehlgeschlagen");
    case E::UnknownSocketError:
        break;
    }
    return QStringLiteral("Unbekannter Netzwerkfehler");
}

} // namespace SocketErrorText
