#include "model/ProjectArchive.h"

#include <QIODevice>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <limits>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr qint64 BlockSize = 64 * 1024;
constexpr std::uint8_t LongLengthMark = 0xFF;
constexpr std::uint16_t WideMark = 0xFFFE;
constexpr std::uint16_t LongerLengthMark = 0xFFFF;

// What a loaded text of length bytes takes in memory, with its allocation's header.
constexpr qint64 TextMemory(qint64 length)
{
    return length == 0 ? 0 : length + 32;
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
        m_unreadOnDevice = std::max<qint64>(0, device.size() - device.pos());
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

    qint64 length = 0;
    bool wide = false;
    if (!LoadLength(length, wide))
        return;
    if (!wide) {
        QByteArray loaded;
        if (!CanHold(length) || !Charge(TextMemory(length)) || !LoadBytes(loaded, length))
            return Fail();
        text = std::move(loaded);
        return;
    }
    // The units, the converted text and the result live at once.
    QByteArray units;
    if (!CanHold(length * 2) || !Charge(TextMemory(length * 5)) || !LoadBytes(units, length * 2))
        return Fail();
    QString wideText(length, Qt::Uninitialized);
    for (qint64 i = 0; i < length; ++i)
        wideText[i] = QChar(qFromLittleEndian<quint16>(units.constData() + 2 * i));
    text = wideText.toLocal8Bit();
}

void ProjectArchive::ExpectRecords(std::int32_t count, int textsEach, qint64 memoryEach)
{
    if (!m_ok || count <= 0)
        return;
    // Each record takes at least one byte per text, so neither check needs the data when the
    // count alone is too large.
    if (!CanHold(qint64(count) * textsEach) || !Charge(qint64(count) * memoryEach))
        return Fail();
    const qint64 devicePos = m_device.pos();
    const QByteArray buffer = m_buffer;
    const qsizetype bufferPos = m_bufferPos;
    const qint64 unread = m_unreadOnDevice;
    for (qint64 text = qint64(count) * textsEach; text > 0 && m_ok; --text) {
        qint64 length = 0;
        bool wide = false;
        if (LoadLength(length, wide))
            SkipBytes(wide ? length * 2 : length);
    }
    if (!m_ok)
        return;
    m_buffer = buffer;
    m_bufferPos = bufferPos;
    if (m_unreadOnDevice != unread && !m_device.seek(devicePos))
        return Fail();
    m_unreadOnDevice = unread;
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
    QByteArray loaded;
    if (!CanHold(size) || !Charge(TextMemory(size)) || !LoadBytes(loaded, size))
        return Fail();
    bytes = std::move(loaded);
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
    char bytes[sizeof(Unsigned)];
    if (IsStoring()) {
        qToLittleEndian(value, bytes);
        StoreBytes(bytes, sizeof bytes);
    } else if (LoadBytes(bytes, sizeof bytes)) {
        value = qFromLittleEndian<Unsigned>(bytes);
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

bool ProjectArchive::LoadLength(qint64& length, bool& wide)
{
    std::uint8_t shortLength = 0;
    std::uint16_t mediumLength = 0;
    if (!LoadBytes(reinterpret_cast<char*>(&shortLength), 1))
        return false;
    if (shortLength < LongLengthMark) {
        length = shortLength;
        return true;
    }
    char bytes[4];
    if (!LoadBytes(bytes, 2))
        return false;
    mediumLength = qFromLittleEndian<std::uint16_t>(bytes);
    if (mediumLength == WideMark) {
        // UTF-16 text: the prefix starts over and counts 16-bit units.
        wide = true;
        if (!LoadBytes(reinterpret_cast<char*>(&shortLength), 1))
            return false;
        if (shortLength < LongLengthMark) {
            length = shortLength;
            return true;
        }
        if (!LoadBytes(bytes, 2))
            return false;
        mediumLength = qFromLittleEndian<std::uint16_t>(bytes);
    }
    if (mediumLength < LongerLengthMark) {
        length = mediumLength;
        return true;
    }
    if (!LoadBytes(bytes, 4))
        return false;
    length = qFromLittleEndian<std::uint32_t>(bytes);
    return true;
}

bool ProjectArchive::LoadBytes(char* out, qint64 size)
{
    while (size > 0) {
        if (m_bufferPos == m_buffer.size() && !Refill())
            return false;
        const qint64 take = std::min<qint64>(size, m_buffer.size() - m_bufferPos);
        std::copy_n(m_buffer.constData() + m_bufferPos, take, out);
        m_bufferPos += take;
        out += take;
        size -= take;
    }
    return true;
}

bool ProjectArchive::LoadBytes(QByteArray& out, qint64 size)
{
    if (size <= m_buffer.size() - m_bufferPos) {
        out = QByteArray(m_buffer.constData() + m_bufferPos, size);
        m_bufferPos += size;
        return true;
    }
    out.reserve(size);
    while (size > 0) {
        if (m_bufferPos == m_buffer.size() && !Refill())
            return false;
        const qint64 take = std::min<qint64>(size, m_buffer.size() - m_bufferPos);
        out.append(m_buffer.constData() + m_bufferPos, take);
        m_bufferPos += take;
        size -= take;
    }
    return true;
}

bool ProjectArchive::SkipBytes(qint64 size)
{
    const qint64 inBuffer = std::min<qint64>(size, m_buffer.size() - m_bufferPos);
    m_bufferPos += inBuffer;
    size -= inBuffer;
    if (size == 0)
        return true;
    // Past the buffer only a random-access device holds more.
    if (size > m_unreadOnDevice || !m_device.seek(m_device.pos() + size)) {
        Fail();
        return false;
    }
    m_unreadOnDevice -= size;
    return true;
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

bool ProjectArchive::Refill()
{
    m_buffer.resize(BlockSize);
    const qint64 got = m_device.read(m_buffer.data(), BlockSize);
    m_buffer.resize(std::max<qint64>(0, got));
    m_bufferPos = 0;
    m_unreadOnDevice = std::max<qint64>(0, m_unreadOnDevice - m_buffer.size());
    if (m_buffer.isEmpty())
        Fail();
    return m_ok;
}
