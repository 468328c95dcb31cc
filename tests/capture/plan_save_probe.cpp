// Saves a plan as the editor does and stops at the given moment of the save:
//     plan_save_probe <fastlane folder> <project folder> <written|exchanged|kept-aside> <plan> [pause]
// Without "pause" it saves over a plan file it does not know and kills itself with SIGKILL
// there, to leave what a kill there leaves; exits with 3 when the moment never came.
// With "pause" it saves over the plan file as it reads it first, stops itself with SIGSTOP
// there, as a second copy of the program may be caught, and once continued finishes the save
// and prints "kept" and the names it kept, or "failed" and the reason (exit code 1).
// "kept-aside" takes the order used where names cannot be exchanged.
#include <ProjectFile.h>
#include <ShotStore.h>

#include <QFile>

#include <csignal>
#include <cstdio>

namespace {

ProjectFile::SaveStep stopAt = ProjectFile::SaveStep::Written;
int stopSignal = SIGKILL;
bool stopped = false;

// Once: a save that goes round again (another version came in meanwhile) passes it again.
void stopAtTheMoment(ProjectFile::SaveStep step)
{
    if (step == stopAt && !stopped) {
        stopped = true;
        ::raise(stopSignal);
    }
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 5 && argc != 6)
        return 2;
    const QByteArray moment = argv[3];
    if (moment == "written")
        stopAt = ProjectFile::SaveStep::Written;
    else if (moment == "exchanged")
        stopAt = ProjectFile::SaveStep::Exchanged;
    else if (moment == "kept-aside")
        stopAt = ProjectFile::SaveStep::KeptAside;
    else
        return 2;
    const bool pause = argc == 6 && qstrcmp(argv[5], "pause") == 0;
    stopSignal = pause ? SIGSTOP : SIGKILL;
    ProjectFile::setExchangeUsed(stopAt != ProjectFile::SaveStep::KeptAside);
    ProjectFile::setStepHook(stopAtTheMoment);
    QFile plan(QFile::decodeName(argv[4]));
    if (!plan.open(QIODevice::ReadOnly))
        return 2;
    const ShotStore store(QFile::decodeName(argv[1]), QFile::decodeName(argv[2]));
    ProjectFile::Version known;
    if (pause) {
        known.stamp = ProjectFile::stamp(store.planPath());
        if (const Result<QByteArray> bytes = store.readPlanBytes())
            known.bytes = bytes.value();
    }
    const Result<ProjectFile::Replaced> replaced = store.replacePlanBytes(plan.readAll(), known);
    if (!pause)
        return 3;
    if (!replaced) {
        std::printf("failed %s\n", qPrintable(replaced.error()));
        return 1;
    }
    std::printf("kept %s\n", qPrintable(replaced->kept.join(QLatin1Char(' '))));
    return 0;
}
