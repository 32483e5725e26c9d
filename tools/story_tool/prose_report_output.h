#pragma once
#include <QJsonObject>
#include <QString>

namespace storytool {

struct ProseReport;

// The words report for people, and the same for machines.
QString proseReportText(const ProseReport &report);
QJsonObject proseReportJson(const ProseReport &report);

} // namespace storytool
