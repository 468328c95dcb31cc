// The strings-file reader of the legal pages' resource bundle.

#include "FuzzCheck.h"

#include <StringsFile.h>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(fuzzBytes(data, size));
    QString error;
    const QHash<QString, QString> table = StringsFile::parse(text, &error);
    // A clean parse reads the same table without being asked for errors.
    if (error.isEmpty())
        FUZZ_CHECK(StringsFile::parse(text) == table);
    return 0;
}
