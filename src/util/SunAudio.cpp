#include "util/SunAudio.h"

#include <QFile>
#include <QtEndian>

#include <array>
#include <cstring>

namespace {

constexpr quint32 SunMagic = 0x2E736E64; // ".snd"
constexpr quint32 SunHeaderSize = 24;
constexpr quint32 MuLawEncoding = 1;
constexpr quint32 RequiredSampleRate = 8000;
constexpr quint32 RequiredChannels = 1;
constexpr qint64 ConversionBlockSize = 1024 * 1024;

constexpr quint8 ExpandMuLaw(quint8 muLaw)
{
    const int u = ~muLaw & 0xFF;
    const int exponent = (u >> 4) & 7;
    const int mantissa = u & 0x0F;
    const int magnitude = ((132 << exponent) - 132) + (mantissa << (exponent + 3));
    const int linear = (u & 0x80) ? -magnitude : magnitude;
    // The high byte of the 16-bit value with its sign bit flipped; >> on a negative int is an
    // arithmetic shift on every compiler we build with.
    return quint8(((linear >> 8) & 0xFF) ^ 0x80);
}

constexpr std::array<quint8, 256> BuildMuLawTable()
{
    std::array<quint8, 256> table {};
    for (int b = 0; b < 256; ++b)
        table[b] = ExpandMuLaw(quint8(b));
    return table;
}

constexpr std::array<quint8, 256> MuLawTable = BuildMuLawTable();

// Two samples per lookup: the conversion is bound by its table lookups, and a table of sample
// pairs (128 KiB) halves them. Each byte keeps its place, whatever the byte order.
const std::array<quint16, 65536>& MuLawPairTable()
{
    static const auto table = [] {
        std::array<quint16, 65536> pairs {};
        for (int v = 0; v < 65536; ++v)
            pairs[v] = quint16(MuLawTable[v & 0xFF] | (MuLawTable[v >> 8] << 8));
        return pairs;
    }();
    return table;
}

void ExpandMuLawInPlace(quint8* samples, qint64 count)
{
    const std::array<quint16, 65536>& pairs = MuLawPairTable();
    qint64 i = 0;
    for (; i + 2 <= count; i += 2) {
        quint16 pair;
        std::memcpy(&pair, samples + i, 2);
        std::memcpy(samples + i, &pairs[pair], 2);
    }
    if (i < count)
        samples[i] = MuLawTable[samples[i]];
}

void PutLittleEndian32(char* at, quint32 value)
{
    qToLittleEndian(value, at);
}

void PutLittleEndian16(char* at, quint16 value)
{
    qToLittleEndian(value, at);
}

} // namespace

bool CheckSunAudioHeader(QIODevice& device)
{
    char header[SunHeaderSize];
    if (device.read(header, SunHeaderSize) != qint64(SunHeaderSize))
        return false;
    const auto field = [&header](int index) { return qFromBigEndian<quint32>(header + 4 * index); };
    const quint32 dataOffset = field(1);
    if (field(0) != SunMagic || dataOffset < SunHeaderSize || field(3) != MuLawEncoding
        || field(4) != RequiredSampleRate || field(5) != RequiredChannels)
        return false;
    const qint64 annotation = qint64(dataOffset - SunHeaderSize);
    return annotation == 0 || device.skip(annotation) == annotation;
}

bool CheckSunAudioFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && CheckSunAudioHeader(file);
}

quint8 MuLawToUnsigned8(quint8 muLaw)
{
    return MuLawTable[muLaw];
}

QByteArray BuildWaveHeader(quint32 sampleCount)
{
    QByteArray header(WaveHeaderSize, '\0');
    char* h = header.data();
    memcpy(h, "RIFF", 4);
    PutLittleEndian32(h + 4, sampleCount + (WaveHeaderSize - 8));
    memcpy(h + 8, "WAVEfmt ", 8);
    PutLittleEndian32(h + 16, 16);
    PutLittleEndian16(h + 20, 1); // PCM
    PutLittleEndian16(h + 22, 1); // channels
    PutLittleEndian32(h + 24, RequiredSampleRate);
    PutLittleEndian32(h + 28, RequiredSampleRate); // bytes per second at one byte per sample
    PutLittleEndian16(h + 32, 1); // block alignment
    PutLittleEndian16(h + 34, 8); // bits per sample
    memcpy(h + 36, "data", 4);
    PutLittleEndian32(h + 40, sampleCount);
    return header;
}

bool ConvertSunAudioToWave(QIODevice& input, QIODevice& output)
{
    if (!CheckSunAudioHeader(input) || output.write(BuildWaveHeader(0)) != WaveHeaderSize)
        return false;
    QByteArray block(ConversionBlockSize, Qt::Uninitialized);
    quint64 total = 0;
    for (;;) {
        const qint64 count = input.read(block.data(), ConversionBlockSize);
        if (count < 0)
            return false;
        if (count == 0)
            break;
        total += quint64(count);
        if (total > MaxWaveSampleCount)
            return false;
        ExpandMuLawInPlace(reinterpret_cast<quint8*>(block.data()), count);
        if (output.write(block.constData(), count) != count)
            return false;
    }
    return output.seek(0) && output.write(BuildWaveHeader(quint32(total))) == WaveHeaderSize;
}

bool ConvertSunAudioFile(const QString& inputPath, const QString& outputPath)
{
    QFile input(inputPath);
    if (!input.open(QIODevice::ReadOnly))
        return false;
    if (!CheckSunAudioHeader(input) || !input.seek(0))
        return false;
    // A plain file rather than an atomic save: the wave file is a scratch copy for playing, and
    // syncing it to disk would double the time the user waits for the sound.
    QFile output(outputPath);
    if (!output.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    if (ConvertSunAudioToWave(input, output))
        return true;
    output.remove();
    return false;
}
