#pragma once
#include <QJsonObject>
#include <QString>

namespace storytool {

struct CheckReport;

// The report for people, and the same for machines.
QString checkReportText(const CheckReport &report);
QJsonObject checkReportJson(const CheckReport &report);

} // namespace storytool
