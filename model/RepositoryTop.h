#pragma once

#include <QString>

// The folder a project's repository starts at: files the project refers to may lie anywhere
// below it ("../config" beside the app's folder), never above it.
namespace RepositoryTop {

// How far above its project's folder a repository's top may lie: a scan finds projects at
// most four folders below the projects folder, and the top lies below that.
inline constexpr int maximumLevelsAbove = 3;

// `top` when it is the project's folder or encloses it; else, for an empty `top`, the nearest
// folder at most maximumLevelsAbove above `projectFolder` that holds ".git"; else the
// project's folder itself. Cleaned and absolute.
QString of(const QString &projectFolder, const QString &top = QString());

} // namespace RepositoryTop
