#pragma once

#include <ScreenshotRunSession.h>

#include <QColor>
#include <QHash>
#include <QList>
#include <QPair>
#include <QString>

// What the run sheet shows for a session's state, kept apart from the widgets.
namespace RunSheetState {

// The line under the sheet's title.
QString phaseText(const ScreenshotRunSession::Phase &phase, int doneCount, int nodeCount, int importedCount);

// The progress bar is there only while running and once something is done.
bool showsProgress(const ScreenshotRunSession::Phase &phase, double progress);

// The state of the first node of `language` and the shot named `shot`; pending when none.
RunNodeState nodeState(const QList<ShotNode> &nodes, const QString &language, const QString &shot);

// The same lookup for a whole grid at once: the first node per language and shot name wins.
class NodeStateLookup
{
public:
    explicit NodeStateLookup(const QList<ShotNode> &nodes);
    RunNodeState state(const QString &language, const QString &shot) const;

private:
    QHash<QPair<QString, QString>, RunNodeState> m_first;
};

// A connector takes the tint once the cell on its left is done.
bool connectorFilled(RunNodeState previous);
QColor connectorColor(RunNodeState previous);

} // namespace RunSheetState
