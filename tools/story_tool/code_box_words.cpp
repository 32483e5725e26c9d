#include "tools/story_tool/code_box_words.h"

#include "story/core/story_screen_state.h"

namespace storytool {

QStringList codeBoxWords(const story::ChoiceTables &tables)
{
    QStringList words;
    for (story::Slot slot : story::kAllSlots) {
        for (const story::ChoiceRule &rule : tables.of(slot).rules) {
            const QString word = rule.condition.value.toString();
            if (rule.condition.kind == story::Condition::Kind::Password && !words.contains(word))
                words << word;
        }
    }
    QString wrongWord = QStringLiteral("wrong");
    while (words.contains(wrongWord))
        wrongWord += u'!';
    return words << wrongWord;
}

} // namespace storytool
