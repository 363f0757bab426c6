#pragma once

#include "model/Doc.h"

#include <QByteArray>
#include <QByteArrayView>

#include <cstdint>
#include <vector>

class QIODevice;

// The project file's records on a device. Storing and reading go through the same calls, so that
// a Serialize function walks one sequence in both directions. Numbers are little-endian; a text is
// a length prefix (1, 3 or 7 bytes) and its 8-bit characters. The first failure sticks: every later
// call leaves its argument alone.
//
// Loading keeps what it has read of the device in memory. It keeps to a memory budget: that data,
// and what the loaded texts and counted records would take in memory, is charged against it, and
// the load fails once it is spent, before anything that large is allocated. A sequential device (a
// pipe) is read to its end first, within the same budget.
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

    // When loading: passes over the next count records of textsEach texts without reading them,
    // and hands them out in parts of at most partSize records, to be read with RecordTexts until
    // the archive loads anything else. What they will take is charged first: memoryEach bytes for
    // each record and what each text takes. Fails, handing out nothing, when the data ends first or
    // the budget would be spent; a count of zero or less hands out nothing.
    std::vector<QByteArrayView> TakeRecords(
        std::int32_t count, int textsEach, qint64 memoryEach, std::int32_t partSize);

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

    // Loading: the next size bytes, or null and failed when fewer are left.
    const char* LoadBytes(qint64 size);
    // Loading: the next text's bytes (its 16-bit units when wide); false when the data ends first.
    bool LoadText(QByteArrayView& bytes, bool& wide);
    // Loading: passes over the next texts texts, adding what they will take in memory; false when
    // the data ends first.
    bool SkipTexts(qint64 texts, qint64& memory);
    // Loading: true when the next size bytes are in the buffer, after taking from the device what
    // is missing; false when the device holds fewer.
    bool Buffered(qint64 size);
    void ReserveForDevice();
    void ReadWholeStream();

    QIODevice& m_device;
    Direction m_direction;
    bool m_ok = true;
    qint64 m_memoryLeft = 0;
    // Storing: a block buffer, so that short records do not each cost a device call. Loading:
    // what has been read of the device, from the start; a stream is held here whole.
    QByteArray m_buffer;
    qsizetype m_bufferPos = 0;
    // Bytes of the device not yet taken into the buffer.
    qint64 m_unreadOnDevice = 0;
};

// The texts of records that TakeRecords handed out, one after the other.
class RecordTexts
{
public:
    // Throws std::bad_alloc.
    explicit RecordTexts(QByteArrayView records);

    // The next text. When its bytes are like's, a copy of like, which shares its memory: lists
    // often repeat a text from one record to the next. Otherwise the text shares one allocation
    // with the other texts of these records, holding a reference to it as a copy of a text does:
    // the records cost one allocation, not one for each text. The allocation lives while any of
    // them does, and is never larger than the records. Throws std::bad_alloc.
    QByteArray Next(const QByteArray& like);

private:
    const char* m_next;
    const char* m_end;
    // Each text is followed by its own terminating zero; the unused part starts at m_unused.
    QByteArray::DataPointer m_allocation;
    char* m_unused;
};
