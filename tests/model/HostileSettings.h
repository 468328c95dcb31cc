#pragma once

// Build settings shaped so that expanding their references costs far more than reading them:
// each fits every size cap of the readers. For the tests and the benchmark of the resolver.

#include <QByteArray>

namespace HostileSettings {

// "NAME = <length letters>\n".
inline QByteArray longValue(const QByteArray &name, qsizetype length)
{
    return name + " = " + QByteArray(length, 'a') + '\n';
}

// "$(LONG:lower:upper:lower:upper…)", the pair `pairs` times.
inline QByteArray modifierChain(qsizetype pairs)
{
    return "$(LONG" + QByteArray(":lower:upper").repeated(pairs) + ')';
}

// "$(Z$(W))" `count` times: each names a setting through another, and none adds a character.
inline QByteArray nestedReferences(qsizetype count)
{
    return QByteArray("$(Z$(W))").repeated(count);
}

// `count` settings "S<n> = $(LONG)<n>", each as long as LONG, and a value that names a
// setting through each of them ("$(N$(S0))…"), which adds nothing: every one is expanded
// and none ends the value by its length.
inline QByteArray settingsThroughNames(qsizetype count, QByteArray *value)
{
    QByteArray lines;
    value->clear();
    for (qsizetype n = 0; n < count; ++n) {
        const QByteArray number = QByteArray::number(n);
        lines += "S" + number + " = $(LONG)" + number + '\n';
        *value += "$(N$(S" + number + "))";
    }
    return lines;
}

// An .xcconfig whose bundle identifier is `identifier`, over LONG of `length` letters.
inline QByteArray xcconfig(const QByteArray &identifier, qsizetype length = 16)
{
    return longValue("LONG", length) + "PRODUCT_BUNDLE_IDENTIFIER = " + identifier + '\n';
}

} // namespace HostileSettings
