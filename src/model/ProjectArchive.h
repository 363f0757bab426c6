#pragma once

#include "model/Doc.h"

#include <QByteArray>

#include <cstdint>
#include <optional>

class QIODevice;

// The project file's records on a device. Storing and reading go through the same calls, so that
// a Serialize function walks one sequence in both directions. Numbers are little-endian; a text is
// a length prefix (1, 3 or 7 bytes) and its 8-bit characters. The first failure sticks: every later
// call leaves its argument alone.
class ProjectArchive
{
public:
    enum class Direction { Store, Load };

    ProjectArchive(QIODevice& device, Direction direction);

    bool IsStoring() const { return m_direction == Direction::Store; }
    bool IsLoading() const { return m_direction == Direction::Load; }

    // False once anything failed: a short device, a length beyond the data, a write error.
    bool Ok() const { return m_ok; }

    void Text(QByteArray& text);
    void Int(std::int32_t& value);
    void Rgb(Colour& value);

    // When loading: the bytes still to be read, for sizing containers; unknown on a sequential
    // device.
    std::optional<qint64> RemainingBytes() const;

    // Writes out what is still buffered; true when every record went through.
    bool Finish();

private:
    void Fail() { m_ok = false; }
    bool CanHold(qint64 size) const;
    void Raw32(std::uint32_t& value);

    void StoreBytes(const char* data, qint64 size);
    void StoreLength(qint64 length);
    bool Flush();

    // Loading: reads size bytes into out, or fails when the device holds fewer.
    bool LoadBytes(QByteArray& out, qint64 size);
    bool LoadBytes(char* out, qint64 size);
    bool LoadLength(qint64& length, bool& wide);
    bool Refill();

    QIODevice& m_device;
    Direction m_direction;
    bool m_sequential;
    bool m_ok = true;
    // Block buffer in both directions, so that short records do not each cost a device call.
    QByteArray m_buffer;
    qsizetype m_bufferPos = 0;
    // Bytes of a random-access device not yet taken into the buffer.
    qint64 m_unreadOnDevice = 0;
};
