#include "story_walk.h"

#include "shell/core/event_pump.h"
#include "shell/core/file_error.h"
#include "shell/core/files.h"
#include "shell/core/text_loader.h"
#include "shell/core/text_target.h"
#include "story/core/choice_tables.h"
#include "story/core/passwords.h"
#include "story/core/story_engine.h"
#include "story/core/story_view.h"

#include "bench_game.h"

#include <QMap>

#include <array>
#include <deque>
#include <set>

namespace bench {
namespace {

constexpr std::array kSlots{story::Slot::Label2, story::Slot::Label3, story::Slot::Label4};
constexpr int kPages = 57;

// Everything the next click depends on, and where the last one led.
struct Position {
    std::array<QString, 3> captions;
    std::array<bool, 3> shown{true, true, true};
    std::array<QString, 3> mirrors;
    QMap<QString, QByteArray> flagFiles;
    bool codeBox = false;
    QString password;
    int page = 0;
    bool leftStory = false;
    bool wroteFlag = false;  // the click that led here wrote a flag file

    QString key() const
    {
        QStringList parts;
        for (std::size_t i = 0; i < 3; ++i)
            parts << captions[i] << QString::number(shown[i]) << mirrors[i];
        for (const QByteArray &flag : flagFiles)
            parts << QString::fromLatin1(flag);
        parts << QString::number(codeBox) << password << QString::number(page) << QString::number(leftStory);
        return parts.join(u'\x1f');
    }
};

std::size_t indexOf(story::Slot slot)
{
    return std::size_t(slot);
}

std::size_t indexOf(story::Flag flag)
{
    return std::size_t(flag);
}

// Pages hold their own number, so the pane tells which page it shows.
class ModelFiles final : public tess::Files {
public:
    QMap<QString, QByteArray> content;
    int writes = 0;
    QByteArray readAll(const QString &path) override
    {
        if (!content.contains(path))
            throw tess::FileError(path, QStringLiteral("missing"));
        return content.value(path);
    }
    void replaceWhole(const QString &path, const QByteArray &bytes) override
    {
        content[path] = bytes;
        ++writes;
    }
};

class NoPump final : public tess::EventPump {
public:
    void holdInput() override {}
    void releaseInput() override {}
    void processPendingEvents() override {}
};

class ModelView final : public story::StoryView, public tess::TextTarget {
public:
    explicit ModelView(Position &position) : p_(position) {}

    QString caption(story::Slot slot) const override { return p_.captions[indexOf(slot)]; }
    void setCaption(story::Slot slot, const QString &caption) override { p_.captions[indexOf(slot)] = caption; }
    bool isShown(story::Slot slot) const override { return p_.shown[indexOf(slot)]; }
    void setShown(story::Slot slot, bool shown) override { p_.shown[indexOf(slot)] = shown; }
    tess::TextTarget &pane() override { return *this; }
    QString mirror(story::Flag flag) const override { return p_.mirrors[indexOf(flag)]; }
    void setMirror(story::Flag flag, const QString &value) override { p_.mirrors[indexOf(flag)] = value; }
    QString password() const override { return p_.password; }
    bool isPasswordBoxShown() const override { return p_.codeBox; }
    void showPasswordBox() override { p_.codeBox = true; }
    void hideStory() override { p_.leftStory = true; }
    void showGameOver() override { p_.leftStory = true; }
    void showConsole() override { p_.leftStory = true; }

    QString text() const override { return pane_; }
    void setText(const QString &text) override { pane_ = text; }

private:
    Position &p_;
    QString pane_;
};

// Plays one click (or, without a move, the opening) on the model.
Position play(const Position &from, const StoryMove *move)
{
    ModelFiles files;
    for (int page = 1; page <= kPages; ++page)
        files.content[story::StoryEngine::pageFile(page)] = QByteArray::number(page) + "\r\n";
    for (auto [path, bytes] : from.flagFiles.asKeyValueRange())
        files.content[path] = bytes;
    NoPump pump;
    tess::TextLoader loader(files, pump);
    story::StoryFlags flags(files);
    SilentMusic music;
    PrintedAlerts alerts;
    Position to = from;
    ModelView view(to);
    story::StoryEngine engine(view, loader, flags, music, alerts, story::gameTables());
    if (move) {
        to.password = move->password;
        engine.click(move->slot);
    } else {
        engine.start();
    }
    if (const int page = view.text().trimmed().toInt())
        to.page = page;
    for (story::Flag flag : story::kAllFlags)
        to.flagFiles[story::StoryFlags::fileOf(flag)] = files.content.value(story::StoryFlags::fileOf(flag));
    to.wroteFlag = files.writes > 0;
    return to;
}

std::vector<StoryMove> movesFrom(const Position &position)
{
    std::vector<StoryMove> moves;
    for (story::Slot slot : kSlots) {
        if (!position.shown[indexOf(slot)] || position.captions[indexOf(slot)].isEmpty())
            continue;
        if (!position.codeBox) {
            moves.push_back({slot, position.password, 0, false});
            continue;
        }
        for (QStringView word : {QStringView(), story::kEndingPassword, story::kConsolePassword})
            moves.push_back({slot, word.toString(), 0, false});
    }
    return moves;
}

} // namespace

std::map<int, StoryRoute> routesToEveryPage()
{
    Position opening;
    for (story::Flag flag : story::kAllFlags)
        opening.flagFiles[story::StoryFlags::fileOf(flag)] = "0\r\n";
    opening = play(opening, nullptr);

    // Breadth first, so the first time a page shows its route is a shortest one.
    struct Node {
        Position position;
        int parent;
        StoryMove move;
    };
    std::vector<Node> nodes{{opening, -1, {}}};
    std::set<QString> seen{opening.key()};
    std::map<int, StoryRoute> routes{{opening.page, {}}};
    for (std::size_t next = 0; next < nodes.size(); ++next) {
        if (nodes[next].position.leftStory)
            continue;
        for (StoryMove move : movesFrom(nodes[next].position)) {
            const Position after = play(nodes[next].position, &move);
            if (!seen.insert(after.key()).second)
                continue;
            move.page = after.page;
            move.writesFlag = after.wroteFlag;
            nodes.push_back({after, int(next), move});
            if (!after.leftStory && !routes.contains(after.page)) {
                StoryRoute route;
                for (int at = int(nodes.size()) - 1; nodes[std::size_t(at)].parent >= 0; at = nodes[std::size_t(at)].parent)
                    route.insert(route.begin(), nodes[std::size_t(at)].move);
                routes[after.page] = route;
            }
        }
    }
    return routes;
}

std::vector<StoryRoute> walkOverEveryPage(const std::map<int, StoryRoute> &routes)
{
    // Longest routes first: they pass through most of the others' pages.
    std::vector<const StoryRoute *> byLength;
    for (const auto &[page, route] : routes)
        byLength.push_back(&route);
    std::stable_sort(byLength.begin(), byLength.end(),
                     [](const StoryRoute *a, const StoryRoute *b) { return a->size() > b->size(); });
    std::set<int> covered{1};
    std::vector<StoryRoute> walk;
    for (const StoryRoute *route : byLength) {
        if (route->empty() || covered.contains(route->back().page))
            continue;
        for (const StoryMove &move : *route)
            covered.insert(move.page);
        walk.push_back(*route);
    }
    return walk;
}

} // namespace bench
