#pragma once

#include <QByteArrayView>

// Tells a JSON text that was cut off (a write that never finished) from one that is whole or
// broken in another way: only the first can be completed by adding bytes at its end.
namespace JsonPrefix {

// True when the text is the start of a JSON text, ended before the text would be complete
// (also when it is empty or only white space). False for a whole text and for one that no
// addition could make valid (a stray comma, bytes after the end, …).
bool isCutShort(QByteArrayView text);

} // namespace JsonPrefix
