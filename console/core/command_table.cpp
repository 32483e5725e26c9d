// The research centre's computer: every command line it answers, in order,
// with the block it appends to the log, the comment it shows and its photo.
#include "console/core/command_table.h"

#include "console/core/file_texts.h"

#include <array>

namespace console {
namespace {

template <std::size_t N, std::size_t M>
constexpr std::array<char16_t, N + M - 1> joined(const char16_t (&first)[N], const char16_t (&second)[M])
{
    std::array<char16_t, N + M - 1> text{};
    for (std::size_t i = 0; i + 1 < N; ++i)
        text[i] = first[i];
    for (std::size_t i = 0; i < M; ++i)
        text[N - 1 + i] = second[i];
    return text;
}

template <std::size_t N>
constexpr QStringView viewOf(const std::array<char16_t, N> &text)
{
    return QStringView(text.data(), qsizetype(N - 1));
}

template <std::size_t N>
constexpr QStringView viewOf(const char16_t (&text)[N])
{
    return QStringView(text, qsizetype(N - 1));
}

// site.world is the same raw data with the studio's address after it.
constexpr auto kSiteWorld = joined(texts::rawData, texts::studioAddress);

// Answers of opened files, of locked ones and of the empty line.
constexpr QStringView opened = u"\r\n>file open\r";
constexpr QStringView none = u"";

constexpr QStringView kHelp =
    u"\r\n>command^help\r\n"
    u"command^[command]<[parameter] - syntax to consoles\r"
    u"vie<[cat] - list catalogue\r"
    u"vie<[diec/name_catalogue] - list files\r"
    u"diec<[name_file] - open file\r"
    u"end<[consol] - close & exit";

constexpr QStringView kProtocolUniverse =
    u"Протокол №23: телепатический контакт с «иными»\r\n"
    u"Commentary to INFO: эволюционная структура Вселенной";

constexpr QStringView kProtocolTime =
    u"Протокол №478: телепатический контакт с «иными»\r\n"
    u"Commentary to INFO: уравнение временных преобразований";

// Not constexpr: the sanitizer build cannot evaluate the views of the file
// texts at compile time, so the table is set up when the program starts.
const ConsoleCommand kCommands[] = {
//   command line                                  block appended to the log                                                              comment pane                                                                     photo
    {u"",                                          u"\r\n>error: command is not incorporated",                                           none},
    {u"help",                                      kHelp,                                                                                 none},
    {u"command^vie<cat",                           u"\r\n>[Zuvodu_LNC]\r>[Kelmar_Box]\r>[System]\r>[Tessaranium]\r>[Test_world]",        none},
    {u"command^vie<diec/Kelmar_Box",               u"\r\n>-|my_foto.see]\r>-|site.world]\r>-|diary_book.rea]\r>-|diary_book2.rea]",      none},
    {u"command^vie<diec/Tessaranium",              u"\r\n>-|report_3.rea]\r>-|protocol_time.gfi]\r>-|protocol_universe.gfi]\r>-|foto_stranger.see]", none},
    {u"command^vie<diec/Test_world",               u"\r\n>-|Tessaranium.world]\r>-|Tessaranium#tmp_old.world]\r>-|temp.fil]",            none},
    {u"command^vie<diec/System",                   u"\r\n>-|kill_system.dea]",                                                           none},
    {u"command^vie<diec/Zuvodu_LNC",               u"\r\n>-|money.vip]\r>-|corp.vip]\r>-|foto_command.see]",                            none},
    {u"command^diec<money.vip",                    u"\r\n>error: file locked\r",                                                         none},
    {u"command^diec<corp.vip",                     opened,                                                                                viewOf(texts::corpVip)},
    {u"command^diec<foto_command.see",             opened,                                                                                viewOf(texts::rawData)},
    {u"command^diec<my_foto.see",                  opened,                                                                                u"Commentary to file: это типо я...",                                         Photo::Image3},
    {u"command^diec<site.world",                   opened,                                                                                viewOf(kSiteWorld)},
    {u"command^diec<kill_system.dea",              u"\r\n>error: You want to destroy the system, You in its wit?\r",                     none},
    {u"command^diec<report_3.rea",                 opened,                                                                                viewOf(texts::report3)},
    {u"command^diec<protocol_universe.gfi",        opened,                                                                                kProtocolUniverse,                                                               Photo::Image1},
    {u"command^diec<protocol_time.gfi",            opened,                                                                                kProtocolTime,                                                                   Photo::Image2},
    {u"command^diec<foto_stranger.see",            opened,                                                                                u"Commentary to file: представитель иных...",                                 Photo::Image4},
    {u"command^diec<Tessaranium.world",            opened,                                                                                u"error: file already open. Presently you are found in world it initialized!"},
    {u"command^diec<Tessaranium#tmp_old.world",    opened,                                                                                u"error: file can be not initialized!"},
    {u"command^diec<diary_book.rea",               opened,                                                                                viewOf(texts::diaryBook)},
    {u"command^diec<diary_book2.rea",              opened,                                                                                viewOf(texts::diaryBook2)},
    {u"command^end<consol",                        opened,                                                                                u"Good By!",                                                                     Photo::None, true},
};

} // namespace

std::span<const ConsoleCommand> commandTable()
{
    return kCommands;
}

} // namespace console
