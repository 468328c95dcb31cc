#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

// The Appfile of a fastlane folder, as far as the scan needs it: the identifier of the app its
// lanes are for. The file comes with a cloned repository, so it is read within a small cap and
// only what is plainly written there counts: nothing is evaluated.
namespace FastlaneAppfile {

// Real Appfiles are a few lines; a larger one is not read.
inline constexpr qsizetype maximumBytes = 64 * 1024;

// The identifier of the first line that is `app_identifier "…"` or `app_identifier("…")` (in
// single or double quotes, a comment after it allowed). Other calls (an environment variable,
// a list, an interpolated or escaped string) and all other lines are passed over.
std::optional<QString> appIdentifier(QByteArrayView text);

// appIdentifier of "<fastlaneFolder>/Appfile", a regular file of at most maximumBytes bytes
// reached without leaving `root`; nothing when there is none or it cannot be read.
std::optional<QString> readAppIdentifier(const QString &fastlaneFolder, const QString &root);

} // namespace FastlaneAppfile
