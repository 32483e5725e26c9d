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
        NotesUnreadable,
        FactSlip,
        FactEstablishedNowhere,
    };
    Finding(Kind kind, QString text, QString script = QString())
        : kind(kind), text(std::move(text)), script(std::move(script))
    {
    }

    Kind kind;
    QString text;
    QString script;  // a walk script that shows the finding, for play
};

// unreached-page, rule-never-applies, ...
QString kindName(Finding::Kind kind);

} // namespace storytool
