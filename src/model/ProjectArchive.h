#pragma once

#include "model/Doc.h"

#include <QByteArray>

#include <cstdint>

class QIODevice;

// The project file's records on a device. Storing and reading go through the same calls, so that
// a Serialize function walks one sequence in both directions. Numbers are little-endian; a text is
// a length prefix (1, 3 or 7 bytes) and its 8-bit characters. The first failure sticks: every later
// call leaves its argument alone.
//
// Loading keeps to a memory budget: what the loaded texts and counted records would take in memory
// is charged against it, and the load fails once it is spent, before anything that large is
// allocated. A sequential device (a pipe) is read to its end first, within the same budget.
class ProjectArchive
{
public:
    enum class Direction { Store, Load };

    ProjectArchive(QIODevice& device, Direction direction, qint64 memoryBudget = 0);

    bool IsStoring() const { return m_direction == Direction::Store; }
    bool IsLoading() const { return m_direction == Direction::Load; }

    // False once anything failed: a short device, a length beyond the data, a write error, the
    // memory budget spent.
    bool Ok() const { return m_ok; }

    void Text(QByteArray& text);
    void Int(std::int32_t& value);
    void Rgb(Colour& value);
    void Word(std::uint16_t& value);

    // size bytes as they stand, with no length prefix: a magic number.
    void Raw(QByteArray& bytes, qint64 size);

    // A 32-bit length and that many bytes: a record's payload, which a nested archive reads.
    void Payload(QByteArray& bytes);

    // When loading: true when at least size more bytes are there to load.
    bool CanHold(qint64 size) const;

    // What is left of the memory budget: a nested archive over a payload gets no more.
    qint64 MemoryLeft() const { return m_memoryLeft; }

    // When loading: checks that count records of textsEach texts follow, without keeping them,
    // and charges memoryEach bytes for each against the budget; the position stays where it was.
    // Fails when the data ends first or the budget would be spent.
    void ExpectRecords(std::int32_t count, int textsEach, qint64 memoryEach);

    // Writes out what is still buffered; true when every record went through.
    bool Finish();

    // Half the machine's physical memory: a project larger than that would crowd out everything
    // else, and asking for more would only end in the system killing the program.
    static qint64 DefaultMemoryBudget();

    // Fails the archive from outside: a loaded value its reader cannot accept.
    void Fail() { m_ok = false; }

private:
    bool Charge(qint64 bytes);
    qint64 RemainingBytes() const;
    void Raw32(std::uint32_t& value);
    // A number of the type's size, little-endian, in either direction.
    template<class Unsigned> void LittleEndian(Unsigned& value);

    void StoreBytes(const char* data, qint64 size);
    void StoreLength(qint64 length);
    bool Flush();

    // Loading: reads size bytes into out, or fails when the device holds fewer.
    bool LoadBytes(QByteArray& out, qint64 size);
    bool LoadBytes(char* out, qint64 size);
    bool LoadLength(qint64& length, bool& wide);
    bool SkipBytes(qint64 size);
    bool Refill();
    void ReadWholeStream();

    QIODevice& m_device;
    Direction m_direction;
    bool m_ok = true;
    qint64 m_memoryLeft = 0;
    // Block buffer in both directions, so that short records do not each cost a device call. A
    // stream is held here whole.
    QByteArray m_buffer;
    qsizetype m_bufferPos = 0;
    // Bytes of the device not yet taken into the buffer.
    qint64 m_unreadOnDevice = 0;
};
