#pragma once

#include <QAbstractSocket>
#include <QString>

// Qt's socket errors in German, whatever the locale: the C library's German text where the
// error stands for one error number, a text of our own otherwise. Qt's own texts are English.
namespace SocketErrorText {

QString of(QAbstractSocket::SocketError error);

} // namespace SocketErrorText
