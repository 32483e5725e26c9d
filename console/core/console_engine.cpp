#include "console/core/console_engine.h"

#include "shell/core/process_control.h"

namespace console {

ConsoleEngine::ConsoleEngine(ConsoleView &view, tess::ProcessControl &process)
    : view_(view), process_(process)
{
}

const ConsoleCommand *ConsoleEngine::find(const QString &commandLine)
{
    for (const ConsoleCommand &command : commandTable()) {
        if (commandLine == command.line)
            return &command;
    }
    return nullptr;
}

std::optional<ConsoleAnswer> ConsoleEngine::execute(const QString &commandLine)
{
    const ConsoleCommand *command = find(commandLine);
    if (!command)
        return std::nullopt;
    ConsoleAnswer answer{command->block.toString(), command->comment.toString()};
    log_ += answer.block;
    view_.setLog(log_);
    view_.setComment(answer.comment);
    for (Photo photo : {Photo::Image1, Photo::Image2, Photo::Image3, Photo::Image4})
        view_.setPhotoShown(photo, photo == command->photo);
    if (command->endsProgram)
        process_.endProgram(0);  // straight out: the story flags stay as they are
    return answer;
}

void ConsoleEngine::clear()
{
    log_ = kPrompt.toString();
    view_.setLog(log_);
}

} // namespace console
