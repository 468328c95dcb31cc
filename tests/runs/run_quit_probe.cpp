// Starts a run whose grandchild ignores SIGTERM, waits until the grandchild has written its
// process id to the file given, then quits at once: right after a cancel ("cancel"), or with
// the run still going ("running").
#include <ChildProcessRun.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QThread>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return 2;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString pidFile = QString::fromLocal8Bit(argv[2]);

    // Owned by the application object, as a window's run would be: still there at quit.
    auto *run = new ChildProcessRun(&app);
    run->setCancelGraceMs(300);
    run->start(QStringLiteral("sh -c 'trap \"\" TERM; echo $$ > \"%1.part\"; mv \"%1.part\" \"%1\"; "
                              "while :; do sleep 1; done' & wait")
                   .arg(pidFile),
               QFileInfo(pidFile).absolutePath());
    const QDeadlineTimer deadline(10000);
    while (!QFileInfo::exists(pidFile)) {
        if (deadline.hasExpired())
            return 3;
        QCoreApplication::processEvents();
        QThread::msleep(10);
    }
    if (mode == QLatin1String("cancel"))
        run->cancel();
    return 0;
}
