#pragma once

#include <QString>
#include <QStringList>

namespace Whitespace {
// True for the tab and every Unicode space separator (not for line breaks).
bool isSpaceOrTab(QChar c);
// Trims spaces and tabs at both ends; line breaks stay.
QString trimmedSpacesAndTabs(const QString &text);
// Splits at every white-space character (line breaks included) and drops empty pieces.
QStringList splitAtWhitespace(const QString &text);
}
