#include "ShotStore.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

Status writeAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return Status::failure(file.errorString());
    if (file.write(bytes) != bytes.size()) {
        const QString error = file.errorString();
        file.cancelWriting();
        return Status::failure(error);
    }
    if (!file.commit())
        return Status::failure(file.errorString());
    return Status::success();
}

} // namespace

ShotStore::ShotStore(QString fastlaneDirectory)
    : m_fastlaneDirectory(std::move(fastlaneDirectory))
{
}

QString ShotStore::folder() const
{
    return QDir(m_fastlaneDirectory).filePath(QStringLiteral("velorancestudio"));
}

QString ShotStore::planPath() const
{
    return QDir(folder()).filePath(QStringLiteral("shots.json"));
}

Status ShotStore::save(const ScreenshotPlan &plan) const
{
    if (!QDir().mkpath(folder()))
        return Status::failure(QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.").arg(folder()));
    return writeAtomically(planPath(), plan.encode());
}

Result<QString> ShotStore::writeGeneratedFile(const QString &text, const QString &fileName) const
{
    if (!QDir().mkpath(folder()))
        return Result<QString>::failure(QStringLiteral("Der Ordner „%1“ konnte nicht angelegt werden.").arg(folder()));
    const QString path = QDir(folder()).filePath(fileName);
    const Status status = writeAtomically(path, text.toUtf8());
    if (!status)
        return Result<QString>::failure(status.error());
    return path;
}

std::optional<ScreenshotPlan> ShotStore::load(QString *error) const
{
    QFile file(planPath());
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return std::nullopt;
    }
    return ScreenshotPlan::decode(file.readAll(), error);
}
