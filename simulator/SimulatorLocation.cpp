#include "SimulatorLocation.h"

#include <SystemErrorText.h>

#include <QLocale>
#include <QPointer>
#include <QProcess>

#include <algorithm>

namespace SimulatorLocation {
namespace {
QString &xcrunPathStorage()
{
    static QString path = QStringLiteral("/usr/bin/xcrun");
    return path;
}

// Shortest text that reads back as the same double; a whole number keeps ".0".
QString numberText(double value)
{
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    const bool plainInteger = std::all_of(text.cbegin(), text.cend(),
                                          [](QChar c) { return c.isDigit() || c == QLatin1Char('-'); });
    if (plainInteger)
        text += QStringLiteral(".0");
    return text;
}

void run(const QStringList &arguments, const QString &successText, QObject *context, Completion completion)
{
    // The process belongs to nobody: it runs to its end even when the context goes first.
    auto *process = new QProcess;
    process->setProcessChannelMode(QProcess::MergedChannels);
    const QPointer<QObject> guard(context);
    auto deliver = [guard, completion = std::move(completion)](const Outcome &outcome) {
        if (guard && completion)
            completion(outcome);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [process, successText, deliver](int exitCode, QProcess::ExitStatus) {
                         const QString output = QString::fromUtf8(process->readAll()).trimmed();
                         process->deleteLater();
                         if (exitCode == 0) {
                             deliver({true, successText});
                         } else if (!output.isEmpty()) {
                             deliver({false, output});
                         } else {
                             deliver({false, QStringLiteral("Fehler (Code %1) — läuft ein Simulator?").arg(exitCode)});
                         }
                     });
    QObject::connect(process, &QProcess::errorOccurred, process, [process, deliver](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        const QString reason = SystemErrorText::localized(process->errorString());
        process->deleteLater();
        deliver({false, reason});
    });
    process->start(xcrunPath(), arguments);
}
} // namespace

QString coordinateArgument(double latitude, double longitude)
{
    return numberText(latitude) + QLatin1Char(',') + numberText(longitude);
}

void set(double latitude, double longitude, QObject *context, Completion completion)
{
    run({QStringLiteral("simctl"), QStringLiteral("location"), QStringLiteral("booted"), QStringLiteral("set"),
         coordinateArgument(latitude, longitude)},
        QStringLiteral("Standort gesetzt"), context, std::move(completion));
}

void clear(QObject *context, Completion completion)
{
    run({QStringLiteral("simctl"), QStringLiteral("location"), QStringLiteral("booted"), QStringLiteral("clear")},
        QStringLiteral("Standort zurückgesetzt"), context, std::move(completion));
}

void setXcrunPath(const QString &path)
{
    xcrunPathStorage() = path.isEmpty() ? QStringLiteral("/usr/bin/xcrun") : path;
}

QString xcrunPath()
{
    return xcrunPathStorage();
}

} // namespace SimulatorLocation
