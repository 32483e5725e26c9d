#pragma once
#include <QTextStream>

namespace storytool {

class PaneFit;
struct ToolOptions;

// Runs the command on the game's story; returns the exit status: 0 when all
// is well, 1 on a finding or a failed script, 2 when the command cannot run.
int runTool(const ToolOptions &options, const PaneFit &fit, QTextStream &out, QTextStream &err);

} // namespace storytool
