#include "tools/story_tool/walk_script.h"

#include "tools/story_tool/flag_files.h"
#include "tools/story_tool/story_words.h"

#include <QList>

namespace storytool::walk {
namespace {

struct ParseError {
    QString message;
};

struct Token {
    QString text;
    bool quoted = false;
};

// Splits a line into words, quoted values and slashes, up to a comment.
QList<Token> tokenize(QStringView line)
{
    QList<Token> tokens;
    qsizetype i = 0;
    while (i < line.size()) {
        const QChar ch = line[i];
        if (ch.isSpace()) {
            ++i;
        } else if (ch == u'#') {
            break;
        } else if (ch == u'/') {
            tokens.append({QStringLiteral("/")});
            ++i;
        } else if (ch == u'"') {
            Token value{QString(), true};
            for (++i; i < line.size() && line[i] != u'"'; ++i) {
                if (line[i] == u'\\' && i + 1 < line.size())
                    ++i;
                value.text += line[i];
            }
            if (i == line.size())
                throw ParseError{QStringLiteral("a quote is not closed")};
            tokens.append(value);
            ++i;
        } else {
            const qsizetype start = i;
            while (i < line.size() && !line[i].isSpace() && line[i] != u'"' && line[i] != u'/')
                ++i;
            tokens.append({line.sliced(start, i - start).toString()});
        }
    }
    return tokens;
}

class Reader {
public:
    explicit Reader(QList<Token> tokens) : tokens_(std::move(tokens)) {}

    bool atEnd() const { return next_ == tokens_.size(); }

    bool word(QStringView word)
    {
        if (atEnd() || tokens_[next_].quoted || tokens_[next_].text != word)
            return false;
        ++next_;
        return true;
    }

    void require(QStringView word, const QString &what)
    {
        if (!this->word(word))
            throw ParseError{what};
    }

    QString quoted(const QString &what)
    {
        if (atEnd() || !tokens_[next_].quoted)
            throw ParseError{what};
        return tokens_[next_++].text;
    }

    std::optional<story::Slot> slot()
    {
        if (atEnd() || tokens_[next_].quoted)
            return std::nullopt;
        const std::optional<story::Slot> slot = slotNamed(tokens_[next_].text);
        if (slot)
            ++next_;
        return slot;
    }

    story::Flag flag()
    {
        const std::optional<story::Flag> flag =
            atEnd() || tokens_[next_].quoted ? std::nullopt : flagNamed(tokens_[next_].text);
        if (!flag)
            throw ParseError{QStringLiteral("a flag is b, c or bc")};
        ++next_;
        return *flag;
    }

    std::optional<QByteArray> flagFile()
    {
        if (word(u"empty"))
            return QByteArray();
        if (word(u"missing"))
            return std::nullopt;
        return flagLine(quoted(QStringLiteral("a flag holds a value in quotes, or is empty or missing")));
    }

    int number(const QString &what)
    {
        bool isNumber = false;
        const int value = atEnd() || tokens_[next_].quoted ? 0 : tokens_[next_].text.toInt(&isNumber);
        if (!isNumber || value <= 0)
            throw ParseError{what};
        ++next_;
        return value;
    }

    std::optional<QString> shownCaption(const QString &what)
    {
        if (word(u"—") || word(u"-") || word(u"hidden"))
            return std::nullopt;
        return quoted(what);
    }

    QString rest() const
    {
        QStringList words;
        for (qsizetype i = next_; i < tokens_.size(); ++i)
            words << (tokens_[i].quoted ? backslashQuoted(tokens_[i].text) : tokens_[i].text);
        return words.join(u' ');
    }

private:
    QList<Token> tokens_;
    qsizetype next_ = 0;
};

Step readExpectation(Reader &reader)
{
    if (reader.word(u"page"))
        return ExpectPage{reader.number(QStringLiteral("expect page takes a page number"))};
    if (reader.word(u"choices")) {
        const QString what = QStringLiteral("expect choices takes three choices, \"caption\" or — for hidden, between slashes");
        ExpectChoices choices;
        for (std::size_t slot = 0; slot < choices.captions.size(); ++slot) {
            if (slot > 0)
                reader.require(u"/", what);
            choices.captions[slot] = reader.shownCaption(what);
        }
        return choices;
    }
    if (reader.word(u"flag")) {
        const story::Flag flag = reader.flag();
        return ExpectFlag{flag, reader.flagFile()};
    }
    if (reader.word(u"screen")) {
        if (reader.word(u"story"))
            return ExpectScreen{story::ShownScreen::Story};
        if (reader.word(u"console"))
            return ExpectScreen{story::ShownScreen::Console};
        reader.require(u"game", QStringLiteral("the screen is story, game over or console"));
        reader.require(u"over", QStringLiteral("the screen is story, game over or console"));
        return ExpectScreen{story::ShownScreen::GameOver};
    }
    if (reader.word(u"code")) {
        reader.require(u"box", QStringLiteral("expect code box shown, or hidden"));
        if (reader.word(u"shown"))
            return ExpectCodeBox{true};
        reader.require(u"hidden", QStringLiteral("expect code box shown, or hidden"));
        return ExpectCodeBox{false};
    }
    if (const std::optional<story::Slot> slot = reader.slot())
        return ExpectSlot{*slot, reader.shownCaption(QStringLiteral("a slot shows a caption in quotes, or is hidden"))};
    throw ParseError{QStringLiteral("expect page, choices, Label2, Label3, Label4, flag, screen or code box")};
}

Step readStep(Reader &reader)
{
    if (reader.word(u"click")) {
        if (const std::optional<story::Slot> slot = reader.slot())
            return Click{slot, QString()};
        return Click{std::nullopt, reader.quoted(QStringLiteral("click takes a caption in quotes or a slot name"))};
    }
    if (reader.word(u"type"))
        return Type{reader.quoted(QStringLiteral("type takes the text in quotes"))};
    if (reader.word(u"press")) {
        if (reader.word(u"F8"))
            return Press{Move::f8()};
        reader.require(u"console", QStringLiteral("press F8, or press console key"));
        reader.require(u"key", QStringLiteral("press F8, or press console key"));
        return Press{Move::consoleKey()};
    }
    if (reader.word(u"set")) {
        reader.require(u"flag", QStringLiteral("set flag takes a flag and its value"));
        const story::Flag flag = reader.flag();
        return SetFlag{flag, reader.flagFile()};
    }
    if (reader.word(u"expect"))
        return readExpectation(reader);
    throw ParseError{QStringLiteral("a line is click, type, press, set flag or expect")};
}

} // namespace

bool isExpectation(const Step &step)
{
    return !std::holds_alternative<Click>(step) && !std::holds_alternative<Type>(step)
           && !std::holds_alternative<Press>(step) && !std::holds_alternative<SetFlag>(step);
}

Script parseScript(const QString &text)
{
    Script script;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        const int number = int(index + 1);
        try {
            Reader reader(tokenize(QStringView(lines[index]).trimmed()));
            if (reader.atEnd())
                continue;
            const Step step = readStep(reader);
            if (!reader.atEnd())
                throw ParseError{QStringLiteral("nothing may follow, but the line goes on with %1").arg(reader.rest())};
            script.lines.push_back({number, step});
        } catch (const ParseError &error) {
            script.failure = Failure{number, QStringLiteral("cannot read «%1»: %2").arg(lines[index].trimmed(), error.message)};
            break;
        }
    }
    return script;
}

} // namespace storytool::walk
