#include "shell/core/cursor_file.h"

#include <QtEndian>

#include <optional>

namespace tess {
namespace {

constexpr int kIconDirSize = 6;
constexpr int kIconEntrySize = 16;
constexpr int kJiffyMs = 1000 / 60;
constexpr quint32 kMaxAniFrames = 4096;

quint16 le16(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.data() + at);
}

quint32 le32(QByteArrayView bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.data() + at);
}

// An ICO container: reserved 0, type 1 (icon) or 2 (cursor), at least one entry.
std::optional<CursorFrame> parseIconContainer(QByteArrayView bytes)
{
    if (bytes.size() < kIconDirSize + kIconEntrySize || le16(bytes, 0) != 0)
        return std::nullopt;
    const quint16 type = le16(bytes, 2);
    const quint16 count = le16(bytes, 4);
    if ((type != 1 && type != 2) || count == 0
        || bytes.size() < kIconDirSize + qsizetype(count) * kIconEntrySize)
        return std::nullopt;
    CursorFrame frame;
    frame.image = bytes.toByteArray();
    if (type == 2)
        frame.hotspot = QPoint(le16(bytes, kIconDirSize + 4), le16(bytes, kIconDirSize + 6));
    return frame;
}

struct Chunk {
    QByteArrayView id;
    QByteArrayView data;
};

// Walks the RIFF chunks of [begin, end); stops at the first malformed one.
template <typename Visit>
void forEachChunk(QByteArrayView bytes, Visit visit)
{
    qsizetype at = 0;
    while (at + 8 <= bytes.size()) {
        const quint32 size = le32(bytes, at + 4);
        if (size > quint32(bytes.size() - at - 8))
            return;
        visit(Chunk{bytes.sliced(at, 4), bytes.sliced(at + 8, size)});
        at += 8 + qsizetype(size) + (size & 1);
    }
}

std::vector<CursorFrame> parseAnimated(QByteArrayView bytes)
{
    std::vector<CursorFrame> pictures;
    std::vector<quint32> rates;
    std::vector<quint32> sequence;
    quint32 defaultRate = 10;

    const auto readDwords = [](QByteArrayView data) {
        std::vector<quint32> values;
        for (qsizetype at = 0; at + 4 <= data.size() && values.size() < kMaxAniFrames; at += 4)
            values.push_back(le32(data, at));
        return values;
    };

    forEachChunk(bytes.sliced(12), [&](const Chunk &chunk) {
        if (chunk.id == "anih" && chunk.data.size() >= 36) {
            defaultRate = le32(chunk.data, 28);
        } else if (chunk.id == "rate") {
            rates = readDwords(chunk.data);
        } else if (chunk.id == "seq ") {
            sequence = readDwords(chunk.data);
        } else if (chunk.id == "LIST" && chunk.data.size() >= 4 && chunk.data.first(4) == "fram") {
            forEachChunk(chunk.data.sliced(4), [&](const Chunk &icon) {
                if (icon.id != "icon" || pictures.size() >= kMaxAniFrames)
                    return;
                if (auto frame = parseIconContainer(icon.data))
                    pictures.push_back(std::move(*frame));
            });
        }
    });

    if (pictures.empty())
        return {};
    if (sequence.empty()) {
        for (quint32 i = 0; i < pictures.size(); ++i)
            sequence.push_back(i);
    }
    std::vector<CursorFrame> frames;
    for (std::size_t step = 0; step < sequence.size(); ++step) {
        if (sequence[step] >= pictures.size())
            return {};
        CursorFrame frame = pictures[sequence[step]];
        const quint32 rate = step < rates.size() ? rates[step] : defaultRate;
        frame.delayMs = int(qBound<quint32>(1, rate, 600)) * kJiffyMs;
        frames.push_back(std::move(frame));
    }
    return frames;
}

} // namespace

std::vector<CursorFrame> parseCursorFile(QByteArrayView bytes)
{
    if (bytes.size() >= 12 && bytes.first(4) == "RIFF" && bytes.sliced(8, 4) == "ACON")
        return parseAnimated(bytes);
    if (auto frame = parseIconContainer(bytes))
        return {std::move(*frame)};
    return {};
}

} // namespace tess
