#pragma once
#include <QStringList>

#include <variant>

namespace storytool {

// What the command line asks for.
struct ToolOptions {
    enum class Command { Check, Map, Walk, Play, Words };
    Command command = Command::Check;
    QString root = QStringLiteral(".");
    bool json = false;
    QString script;     // play
    QString outFolder;  // walk: one file per walkthrough instead of stdout
};

// The options, or what is wrong with the arguments.
std::variant<ToolOptions, QString> parseToolOptions(const QStringList &arguments);

extern const QString kToolUsage;

} // namespace storytool
