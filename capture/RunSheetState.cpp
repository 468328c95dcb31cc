#include "RunSheetState.h"

#include <AppPalette.h>

using Kind = ScreenshotRunSession::Phase::Kind;

namespace RunSheetState {

QString phaseText(const ScreenshotRunSession::Phase &phase, int doneCount, int nodeCount, int importedCount)
{
    switch (phase.kind) {
    case Kind::Idle:
        return QStringLiteral("Bereit.");
    case Kind::Running:
        if (doneCount <= 0)
            return QStringLiteral("App und Runner werden gebaut und im Simulator gestartet…");
        return QStringLiteral("Nimmt auf — %1 von %2 Screenshots fertig.").arg(doneCount).arg(nodeCount);
    case Kind::Done:
        return QStringLiteral("Fertig — %1 Screenshots liegen jetzt unter „Vorbereitet“ und erscheinen in Medien.")
            .arg(importedCount);
    case Kind::Failed:
        return phase.message;
    }
    return QString();
}

bool showsProgress(const ScreenshotRunSession::Phase &phase, double progress)
{
    return phase.kind == Kind::Running && progress > 0;
}

RunNodeState nodeState(const QList<ShotNode> &nodes, const QString &language, const QString &shot)
{
    for (const ShotNode &node : nodes) {
        if (node.language == language && node.shot == shot)
            return node.state;
    }
    return RunNodeState::Pending;
}

NodeStateLookup::NodeStateLookup(const QList<ShotNode> &nodes)
{
    m_first.reserve(nodes.size());
    for (const ShotNode &node : nodes) {
        const auto key = qMakePair(node.language, node.shot);
        if (!m_first.contains(key))
            m_first.insert(key, node.state);
    }
}

RunNodeState NodeStateLookup::state(const QString &language, const QString &shot) const
{
    return m_first.value(qMakePair(language, shot), RunNodeState::Pending);
}

bool connectorFilled(RunNodeState previous)
{
    return previous == RunNodeState::Done;
}

QColor connectorColor(RunNodeState previous)
{
    return connectorFilled(previous) ? AppPalette::accent() : AppPalette::quaternaryFill();
}

} // namespace RunSheetState
