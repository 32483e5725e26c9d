#pragma once
#include <QString>

namespace storytool {

// Something in the story an author must look at.
struct Finding {
    enum class Kind {
        UnreachedPage,
        RuleNeverApplies,
        CaptionWithoutRule,
        StuckState,
        PageFileMissing,
        PageFileUndecodable,
        PageFileLineEnds,
        PageTooLong,
    };
    Kind kind;
    QString text;
};

// unreached-page, rule-never-applies, ...
QString kindName(Finding::Kind kind);

} // namespace storytool
