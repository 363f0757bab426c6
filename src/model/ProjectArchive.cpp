#include "model/ProjectArchive.h"

#include "util/HugePages.h"

#include <QIODevice>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <new>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 BlockSize = 64 * 1024;
constexpr std::uint8_t LongLengthMark = 0xFF;
constexpr std::uint16_t WideMark = 0xFFFE;
constexpr std::uint16_t LongerLengthMark = 0xFFFF;
// The longest length prefix: the wide mark, then a long length.
constexpr qint64 LongestPrefix = 3 + 7;

// What a loaded text of length bytes takes in memory, with its allocation's header.
constexpr qint64 TextMemory(qint64 length)
{
    return length == 0 ? 0 : length + 32;
}

// Reads a little-endian number at next and moves past it; false when the data ends first.
template<class Unsigned> bool TakeNumber(const char*& next, const char* end, Unsigned& value)
{
    if (end - next < qsizetype(sizeof(Unsigned)))
        return false;
    value = qFromLittleEndian<Unsigned>(next);
    next += sizeof(Unsigned);
    return true;
}

bool TakeLength(const char*& next, const char* end, qint64& length, bool& wide)
{
    if (next == end)
        return false;
    auto shortLength = static_cast<std::uint8_t>(*next++);
    if (shortLength < LongLengthMark) {
        length = shortLength;
        return true;
    }
    std::uint16_t mediumLength = 0;
    if (!TakeNumber(next, end, mediumLength))
        return false;
    if (mediumLength == WideMark) {
        // UTF-16 text: the prefix starts over and counts 16-bit units.
        wide = true;
        if (next == end)
            return false;
        shortLength = static_cast<std::uint8_t>(*next++);
        if (shortLength < LongLengthMark) {
            length = shortLength;
            return true;
        }
        if (!TakeNumber(next, end, mediumLength))
            return false;
    }
    if (mediumLength < LongerLengthMark) {
        length = mediumLength;
        return true;
    }
    std::uint32_t longLength = 0;
    if (!TakeNumber(next, end, longLength))
        return false;
    length = longLength;
    return true;
}

// The next text's bytes (its 16-bit units when wide) from next on, and moves past them; false,
// leaving next where it was, when the data ends first.
Q_ALWAYS_INLINE bool TakeText(const char*& next, const char* end, QByteArrayView& bytes, bool& wide)
{
    const char* at = next;
    qint64 length = 0;
    wide = false;
    // Most texts are shorter than 255 bytes: their length is the one byte before them.
    if (at != end && static_cast<std::uint8_t>(*at) < LongLengthMark)
        length = static_cast<std::uint8_t>(*at++);
    else if (!TakeLength(at, end, length, wide))
        return false;
    const qint64 size = wide ? length * 2 : length;
    if (size > end - at)
        return false;
    bytes = QByteArrayView(at, size);
    next = at + size;
    return true;
}

qint64 LoadedTextMemory(QByteArrayView bytes, bool wide)
{
    // Of a wide text, the units, the converted text and the result live at once.
    return TextMemory(wide ? bytes.size() / 2 * 5 : bytes.size());
}

QByteArray LoadedText(QByteArrayView bytes, bool wide)
{
    if (!wide)
        return QByteArray(bytes.data(), bytes.size());
    const qsizetype length = bytes.size() / 2;
    QString wideText(length, Qt::Uninitialized);
    for (qsizetype i = 0; i < length; ++i)
        wideText[i] = QChar(qFromLittleEndian<quint16>(bytes.data() + 2 * i));
    return wideText.toLocal8Bit();
}

} // namespace

ProjectArchive::ProjectArchive(QIODevice& device, Direction direction, qint64 memoryBudget)
    : m_device(device)
    , m_direction(direction)
    , m_memoryLeft(memoryBudget > 0 ? memoryBudget : DefaultMemoryBudget())
{
    if (IsStoring())
        m_buffer.reserve(BlockSize);
    else if (device.isSequential())
        ReadWholeStream();
    else
        ReserveForDevice();
}

qint64 ProjectArchive::DefaultMemoryBudget()
{
    qint64 budget = qint64(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGESIZE) / 2;
    rlimit addressSpace {};
    if (getrlimit(RLIMIT_AS, &addressSpace) == 0 && addressSpace.rlim_cur != RLIM_INFINITY)
        budget = std::min<qint64>(budget, addressSpace.rlim_cur / 2);
    return budget > 0 ? budget : std::numeric_limits<std::int32_t>::max();
}

void ProjectArchive::Text(QByteArray& text)
{
    if (!m_ok)
        return;
    if (IsStoring()) {
        StoreLength(text.size());
        StoreBytes(text.constData(), text.size());
        return;
    }

    QByteArrayView bytes;
    bool wide = false;
    if (!LoadText(bytes, wide) || !Charge(LoadedTextMemory(bytes, wide)))
        return Fail();
    text = LoadedText(bytes, wide);
}

std::vector<QByteArrayView> ProjectArchive::TakeRecords(
    std::int32_t count, int textsEach, qint64 memoryEach, std::int32_t partSize)
{
    if (!m_ok || count <= 0)
        return {};
    // Each record takes at least one byte per text, so neither check needs the data when the
    // count alone is too large.
    if (!CanHold(qint64(count) * textsEach) || !Charge(qint64(count) * memoryEach)) {
        Fail();
        return {};
    }
    std::vector<qsizetype> partStarts;
    partStarts.reserve(count / partSize + 2);
    for (std::int32_t left = count; left > 0; left -= partSize) {
        partStarts.push_back(m_bufferPos);
        qint64 memory = 0;
        if (!SkipTexts(qint64(std::min(left, partSize)) * textsEach, memory)) {
            Fail();
            return {};
        }
        if (!Charge(memory))
            return {};
    }
    partStarts.push_back(m_bufferPos);
    std::vector<QByteArrayView> parts;
    parts.reserve(partStarts.size() - 1);
    for (std::size_t part = 0; part + 1 < partStarts.size(); ++part) {
        parts.emplace_back(
            m_buffer.constData() + partStarts[part], partStarts[part + 1] - partStarts[part]);
    }
    return parts;
}

bool ProjectArchive::SkipTexts(qint64 texts, qint64& memory)
{
    while (texts > 0) {
        // Straight from the buffer while it holds whole texts, then through LoadText, which takes
        // more from the device.
        const char* const data = m_buffer.constData();
        const char* next = data + m_bufferPos;
        const char* const end = data + m_buffer.size();
        QByteArrayView bytes;
        bool wide = false;
        for (; texts > 0 && TakeText(next, end, bytes, wide); --texts)
            memory += LoadedTextMemory(bytes, wide);
        m_bufferPos = next - data;
        if (texts == 0)
            break;
        if (!LoadText(bytes, wide))
            return false;
        memory += LoadedTextMemory(bytes, wide);
        --texts;
    }
    return true;
}

RecordTexts::RecordTexts(QByteArrayView records)
    : m_next(records.data())
    , m_end(records.data() + records.size())
    // A text takes at least one byte of length before its bytes; in memory that byte is its
    // terminating zero instead.
    , m_allocation(QTypedArrayData<char>::allocate(records.size()))
    , m_unused(m_allocation.data())
{
    if (!records.isEmpty() && !m_allocation.d_ptr())
        throw std::bad_alloc();
}

QByteArray RecordTexts::Next(const QByteArray& like)
{
    QByteArrayView bytes;
    bool wide = false;
    // TakeRecords found every text, so the data does not end first.
    if (!TakeText(m_next, m_end, bytes, wide))
        return {};
    // An empty text takes no memory of its own anyway. Numbered texts differ near their end, so
    // they are compared from there.
    if (!wide && !bytes.isEmpty() && bytes.size() == like.size()
        && std::equal(bytes.rbegin(), bytes.rend(), like.crbegin()))
        return like;
    if (wide || bytes.isEmpty())
        return LoadedText(bytes, wide);
    char* const text = m_unused;
    std::copy_n(bytes.data(), bytes.size(), text);
    text[bytes.size()] = '\0';
    m_unused += bytes.size() + 1;
    // No other thread sees the allocation before the records are read, so its count is raised
    // without the cost of an atomic operation.
    auto* const allocation = m_allocation.d_ptr();
    allocation->ref_.storeRelaxed(allocation->ref_.loadRelaxed() + 1);
    return QByteArray(QByteArray::DataPointer(allocation, text, bytes.size()));
}

void ProjectArchive::Int(std::int32_t& value)
{
    auto raw = static_cast<std::uint32_t>(value);
    Raw32(raw);
    if (m_ok && IsLoading())
        value = static_cast<std::int32_t>(raw);
}

void ProjectArchive::Rgb(Colour& value)
{
    Raw32(value);
}

void ProjectArchive::Word(std::uint16_t& value)
{
    LittleEndian(value);
}

void ProjectArchive::Raw(QByteArray& bytes, qint64 size)
{
    if (!m_ok)
        return;
    if (IsStoring()) {
        StoreBytes(bytes.constData(), size);
        return;
    }
    if (!CanHold(size) || !Charge(TextMemory(size)))
        return Fail();
    if (const char* loaded = LoadBytes(size))
        bytes = QByteArray(loaded, size);
}

void ProjectArchive::Payload(QByteArray& bytes)
{
    std::uint32_t size = static_cast<std::uint32_t>(bytes.size());
    if (IsStoring() && qint64(bytes.size()) > qint64(std::numeric_limits<std::uint32_t>::max()))
        return Fail();
    Raw32(size);
    Raw(bytes, size);
}

void ProjectArchive::Raw32(std::uint32_t& value)
{
    LittleEndian(value);
}

template<class Unsigned> void ProjectArchive::LittleEndian(Unsigned& value)
{
    if (!m_ok)
        return;
    if (IsStoring()) {
        char bytes[sizeof(Unsigned)];
        qToLittleEndian(value, bytes);
        StoreBytes(bytes, sizeof bytes);
    } else if (const char* loaded = LoadBytes(sizeof(Unsigned))) {
        value = qFromLittleEndian<Unsigned>(loaded);
    }
}

bool ProjectArchive::Charge(qint64 bytes)
{
    if (bytes > m_memoryLeft) {
        Fail();
        return false;
    }
    m_memoryLeft -= bytes;
    return true;
}

qint64 ProjectArchive::RemainingBytes() const
{
    return (m_buffer.size() - m_bufferPos) + m_unreadOnDevice;
}

bool ProjectArchive::CanHold(qint64 size) const
{
    return size <= RemainingBytes();
}

bool ProjectArchive::Finish()
{
    if (m_ok && IsStoring())
        Flush();
    return m_ok;
}

void ProjectArchive::StoreBytes(const char* data, qint64 size)
{
    m_buffer.append(data, size);
    if (m_buffer.size() >= BlockSize)
        Flush();
}

void ProjectArchive::StoreLength(qint64 length)
{
    char bytes[7];
    if (length < LongLengthMark) {
        bytes[0] = static_cast<char>(length);
        StoreBytes(bytes, 1);
    } else if (length < WideMark) {
        bytes[0] = static_cast<char>(LongLengthMark);
        qToLittleEndian(static_cast<std::uint16_t>(length), bytes + 1);
        StoreBytes(bytes, 3);
    } else if (length < std::numeric_limits<std::uint32_t>::max()) {
        bytes[0] = static_cast<char>(LongLengthMark);
        qToLittleEndian(LongerLengthMark, bytes + 1);
        qToLittleEndian(static_cast<std::uint32_t>(length), bytes + 3);
        StoreBytes(bytes, 7);
    } else {
        // Longer texts would need a prefix form that no reader of the format knows.
        Fail();
    }
}

bool ProjectArchive::Flush()
{
    // A short write is retried, so that the device reports the error that stopped it.
    const char* data = m_buffer.constData();
    qint64 left = m_buffer.size();
    while (left > 0) {
        const qint64 written = m_device.write(data, left);
        if (written <= 0) {
            Fail();
            break;
        }
        data += written;
        left -= written;
    }
    m_buffer.clear();
    return m_ok;
}

const char* ProjectArchive::LoadBytes(qint64 size)
{
    if (!m_ok || !Buffered(size)) {
        Fail();
        return nullptr;
    }
    const char* bytes = m_buffer.constData() + m_bufferPos;
    m_bufferPos += size;
    return bytes;
}

bool ProjectArchive::LoadText(QByteArrayView& bytes, bool& wide)
{
    if (!Buffered(std::min(LongestPrefix, RemainingBytes())))
        return false;
    const char* next = m_buffer.constData() + m_bufferPos;
    qint64 length = 0;
    wide = false;
    if (!TakeLength(next, m_buffer.constData() + m_buffer.size(), length, wide))
        return false;
    m_bufferPos = next - m_buffer.constData();
    const qint64 size = wide ? length * 2 : length;
    if (!Buffered(size))
        return false;
    bytes = QByteArrayView(m_buffer.constData() + m_bufferPos, size);
    m_bufferPos += size;
    return true;
}

bool ProjectArchive::Buffered(qint64 size)
{
    const qint64 missing = size - (m_buffer.size() - m_bufferPos);
    if (missing <= 0)
        return true;
    // Fails at once when the device holds fewer, without reading on. Reading at least as much as
    // is buffered keeps the calls few and the buffer's growth cheap.
    if (missing > m_unreadOnDevice)
        return false;
    const qint64 take
        = std::min(m_unreadOnDevice, std::max({ missing, BlockSize, qint64(m_buffer.size()) }));
    if (!Charge(take))
        return false;
    const qsizetype held = m_buffer.size();
    m_buffer.resize(held + take);
    qint64 got = 0;
    while (got < take) {
        const qint64 read = m_device.read(m_buffer.data() + held + got, take - got);
        if (read <= 0)
            break;
        got += read;
    }
    m_unreadOnDevice -= take;
    m_buffer.resize(held + got);
    // A device that gives less than it holds has failed.
    return got == take;
}

void ProjectArchive::ReserveForDevice()
{
    // Room for all the device holds, as far as the budget reaches, is only address space until
    // it is read into; the buffer then never moves, and a large file is read into huge pages.
    m_unreadOnDevice = std::max<qint64>(0, m_device.size() - m_device.pos());
    m_buffer.reserve(std::min(m_unreadOnDevice, m_memoryLeft));
    AdviseHugePages(m_buffer.constData(), m_buffer.capacity());
}

void ProjectArchive::ReadWholeStream()
{
    // A stream can be neither measured nor revisited: it is taken in whole, as far as the budget
    // reaches.
    for (;;) {
        if (!Charge(BlockSize))
            return;
        const qsizetype held = m_buffer.size();
        m_buffer.resize(held + BlockSize);
        const qint64 got = m_device.read(m_buffer.data() + held, BlockSize);
        m_buffer.resize(held + std::max<qint64>(0, got));
        if (got <= 0)
            return;
    }
}
