// Saves a plan as the editor does, over a plan file it does not know, and kills itself with
// SIGKILL at the given moment of the save, to leave what a kill there leaves:
//     plan_save_probe <fastlane folder> <project folder> <written|exchanged|kept-aside> <plan>
// "kept-aside" takes the order used where names cannot be exchanged. Exits with 3 when the
// moment never came.
#include <ProjectFile.h>
#include <ShotStore.h>

#include <QFile>

#include <csignal>

namespace {

ProjectFile::SaveStep killedAt = ProjectFile::SaveStep::Written;

void killAtTheMoment(ProjectFile::SaveStep step)
{
    if (step == killedAt)
        ::raise(SIGKILL);
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 5)
        return 2;
    const QByteArray moment = argv[3];
    if (moment == "written")
        killedAt = ProjectFile::SaveStep::Written;
    else if (moment == "exchanged")
        killedAt = ProjectFile::SaveStep::Exchanged;
    else if (moment == "kept-aside")
        killedAt = ProjectFile::SaveStep::KeptAside;
    else
        return 2;
    ProjectFile::setExchangeUsed(killedAt != ProjectFile::SaveStep::KeptAside);
    ProjectFile::setStepHook(killAtTheMoment);
    QFile plan(QFile::decodeName(argv[4]));
    if (!plan.open(QIODevice::ReadOnly))
        return 2;
    const ShotStore store(QFile::decodeName(argv[1]), QFile::decodeName(argv[2]));
    store.replacePlanBytes(plan.readAll(), ProjectFile::Version());
    return 3;
}
