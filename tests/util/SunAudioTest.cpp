#include "util/SunAudio.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>

#include <cmath>
#include <gtest/gtest.h>

namespace {

QByteArray BigEndian32(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToBigEndian(value, bytes.data());
    return bytes;
}

QByteArray SunHeader(quint32 dataOffset = 24, quint32 encoding = 1, quint32 rate = 8000,
    quint32 channels = 1, quint32 dataSize = 0xFFFFFFFF)
{
    return ".snd" + BigEndian32(dataOffset) + BigEndian32(dataSize) + BigEndian32(encoding)
        + BigEndian32(rate) + BigEndian32(channels);
}

bool Check(const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return CheckSunAudioHeader(buffer);
}

quint32 LittleEndian32(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint32>(bytes.constData() + offset);
}

quint16 LittleEndian16(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<quint16>(bytes.constData() + offset);
}

// The classic G.711 decoder, written the other way round (bias added, then shifted), so that
// it checks the table rather than restating it.
int ReferenceLinear(quint8 muLaw)
{
    const int u = ~muLaw & 0xFF;
    int t = ((u & 0x0F) << 3) + 0x84;
    t <<= (u & 0x70) >> 4;
    return (u & 0x80) ? (0x84 - t) : (t - 0x84);
}

TEST(SunAudio, EverySampleIsTheHighByteOfTheStandardExpansion)
{
    for (int b = 0; b < 256; ++b) {
        const int linear = ReferenceLinear(quint8(b));
        const int highByte = int(std::floor(linear / 256.0)) & 0xFF;
        EXPECT_EQ(MuLawToUnsigned8(quint8(b)), highByte ^ 0x80) << "byte " << b;
    }
}

TEST(SunAudio, HeaderCheckAcceptsMonoMuLawAt8000Hz)
{
    EXPECT_TRUE(Check(SunHeader()));
    EXPECT_TRUE(Check(SunHeader(24, 1, 8000, 1, 0))); // the data size is not looked at
    EXPECT_TRUE(Check(SunHeader(40) + QByteArray(16, 'a'))); // annotation ends with the file
    EXPECT_TRUE(Check(SunHeader() + "samples"));
}

TEST(SunAudio, HeaderCheckRejectsEveryOtherFile)
{
    EXPECT_FALSE(Check(SunHeader(24, 1, 8000, 2)));
    EXPECT_FALSE(Check(SunHeader(24, 1, 8012, 1)));
    EXPECT_FALSE(Check(SunHeader(24, 3, 8000, 1)));
    EXPECT_FALSE(Check(SunHeader(23)));
    EXPECT_FALSE(Check(SunHeader(0x80000000))); // huge offset, not a negative one
    EXPECT_FALSE(Check(SunHeader(40) + QByteArray(6, 'a'))); // ends at byte 30
    EXPECT_FALSE(Check(SunHeader().left(20)));
    EXPECT_FALSE(Check(QByteArray()));
    EXPECT_FALSE(Check("snd." + SunHeader().mid(4)));
}

TEST(SunAudio, HeaderCheckLeavesTheDeviceAtTheFirstSample)
{
    QBuffer buffer;
    buffer.setData(SunHeader(28) + "noteDATA");
    buffer.open(QIODevice::ReadOnly);
    ASSERT_TRUE(CheckSunAudioHeader(buffer));
    EXPECT_EQ(buffer.readAll(), "DATA");
}

TEST(SunAudio, WaveFileHoldsTheHeaderAndOneSamplePerByte)
{
    QByteArray samples;
    for (int i = 0; i < 1000; ++i)
        samples += char(QByteArray::fromHex("ff80007f").at(i % 4));
    QBuffer input;
    input.setData(SunHeader(32) + "12345678" + samples);
    input.open(QIODevice::ReadOnly);
    QBuffer output;
    output.open(QIODevice::ReadWrite);
    ASSERT_TRUE(ConvertSunAudioToWave(input, output));

    const QByteArray wave = output.data();
    ASSERT_EQ(wave.size(), 1044);
    EXPECT_EQ(wave.left(4), "RIFF");
    EXPECT_EQ(LittleEndian32(wave, 4), 1036u);
    EXPECT_EQ(wave.mid(8, 8), "WAVEfmt ");
    EXPECT_EQ(LittleEndian32(wave, 16), 16u);
    EXPECT_EQ(LittleEndian16(wave, 20), 1); // PCM
    EXPECT_EQ(LittleEndian16(wave, 22), 1); // mono
    EXPECT_EQ(LittleEndian32(wave, 24), 8000u);
    EXPECT_EQ(LittleEndian32(wave, 28), 8000u);
    EXPECT_EQ(LittleEndian16(wave, 32), 1);
    EXPECT_EQ(LittleEndian16(wave, 34), 8);
    EXPECT_EQ(wave.mid(36, 4), "data");
    EXPECT_EQ(LittleEndian32(wave, 40), 1000u);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(quint8(wave[44 + i]), QByteArray::fromHex("80fd0280").at(i % 4) & 0xFF) << i;
}

TEST(SunAudio, ConversionOfABlockMatchesTheSampleRuleAtEveryPlace)
{
    // Every byte value at an even and at an odd offset, and an odd count, so samples converted
    // in pairs and the last one converted alone all meet the one-sample rule.
    QByteArray samples;
    for (int b = 0; b < 256; ++b)
        samples += char(b);
    for (int b = 255; b > 0; --b)
        samples += char(b);
    ASSERT_EQ(samples.size() % 2, 1);
    QBuffer input;
    input.setData(SunHeader(24) + samples);
    input.open(QIODevice::ReadOnly);
    QBuffer output;
    output.open(QIODevice::ReadWrite);
    ASSERT_TRUE(ConvertSunAudioToWave(input, output));
    const QByteArray wave = output.data();
    ASSERT_EQ(wave.size(), 44 + samples.size());
    for (int i = 0; i < samples.size(); ++i)
        ASSERT_EQ(quint8(wave[44 + i]), MuLawToUnsigned8(quint8(samples[i]))) << i;
}

TEST(SunAudio, FileConversionLeavesTheOutputAloneForABadFile)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString in = dir.filePath(QStringLiteral("in.au"));
    const QString out = dir.filePath(QStringLiteral("out.wav"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    };
    const auto read = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    };

    // Large enough to need several blocks.
    const QByteArray samples(200000, char(0x80));
    ASSERT_TRUE(write(in, SunHeader() + samples));
    ASSERT_TRUE(write(out, "previous"));
    ASSERT_TRUE(ConvertSunAudioFile(in, out));
    EXPECT_EQ(read(out), BuildWaveHeader(200000) + QByteArray(200000, char(0xFD)));
    EXPECT_TRUE(CheckSunAudioFile(in));

    ASSERT_TRUE(write(in, SunHeader(24, 1, 8000, 2) + samples));
    ASSERT_TRUE(write(out, "previous"));
    EXPECT_FALSE(CheckSunAudioFile(in));
    EXPECT_FALSE(ConvertSunAudioFile(in, out));
    EXPECT_EQ(read(out), "previous");

    ASSERT_TRUE(write(in, SunHeader(40) + QByteArray(6, 'a')));
    EXPECT_FALSE(CheckSunAudioFile(in)); // the annotation runs past the end of the file
    EXPECT_FALSE(CheckSunAudioFile(dir.filePath(QStringLiteral("missing.au"))));
    EXPECT_FALSE(ConvertSunAudioFile(dir.filePath(QStringLiteral("missing.au")), out));
}

} // namespace
