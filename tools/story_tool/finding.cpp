#include "tools/story_tool/finding.h"

namespace storytool {

QString kindName(Finding::Kind kind)
{
    switch (kind) {
    case Finding::Kind::UnreachedPage:
        return QStringLiteral("unreached-page");
    case Finding::Kind::RuleNeverApplies:
        return QStringLiteral("rule-never-applies");
    case Finding::Kind::CaptionWithoutRule:
        return QStringLiteral("caption-without-rule");
    case Finding::Kind::StuckState:
        return QStringLiteral("stuck-state");
    case Finding::Kind::PageFileMissing:
        return QStringLiteral("page-file-missing");
    case Finding::Kind::PageFileUndecodable:
        return QStringLiteral("page-file-undecodable");
    case Finding::Kind::PageFileLineEnds:
        return QStringLiteral("page-file-line-ends");
    case Finding::Kind::PageTooLong:
        return QStringLiteral("page-too-long");
    case Finding::Kind::NotesUnreadable:
        return QStringLiteral("notes-unreadable");
    case Finding::Kind::FactSlip:
        return QStringLiteral("fact-slip");
    case Finding::Kind::FactEstablishedNowhere:
        return QStringLiteral("fact-established-nowhere");
    }
    Q_UNREACHABLE();
}

} // namespace storytool
