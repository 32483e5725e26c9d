#include "story/core/choice_tables.h"

#include "story/core/label_rules.h"

#include <algorithm>

namespace story {

const ChoiceTable &ChoiceTables::of(Slot slot) const
{
    switch (slot) {
    case Slot::Label2:
        return label2;
    case Slot::Label3:
        return label3;
    case Slot::Label4:
        return label4;
    }
    Q_UNREACHABLE();
}

const ChoiceTables &gameTables()
{
    static const ChoiceTables tables{kLabel2Table, kLabel3Table, kLabel4Table};
    return tables;
}

int pageCount(const ChoiceTables &tables)
{
    int last = std::max(kOpening.page, kFinalPage);
    for (Slot slot : {Slot::Label2, Slot::Label3, Slot::Label4})
        for (const ChoiceRule &rule : tables.of(slot).rules)
            last = std::max(last, rule.page);
    return last;
}

} // namespace story
