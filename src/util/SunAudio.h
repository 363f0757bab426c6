#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class QIODevice;

// Sun audio files as the login applet plays them (8000 Hz, mono, 8-bit µ-law), and their
// conversion into 8-bit PCM wave files that the desktop's audio device can play.

// Size of the wave header that precedes the samples.
constexpr int WaveHeaderSize = 44;

// The most samples a wave file's 32-bit length fields can count.
constexpr quint64 MaxWaveSampleCount = 0xFFFFFFFFull - (WaveHeaderSize - 8);

// Reads and checks the header of a Sun audio file from the device's current position. On success
// the device is left at the first sample; on failure its position is unspecified.
bool CheckSunAudioHeader(QIODevice& device);

// True when the file opens for reading and its header passes the check.
bool CheckSunAudioFile(const QString& path);

// One µ-law byte (G.711) as an unsigned 8-bit PCM sample.
quint8 MuLawToUnsigned8(quint8 muLaw);

// The 44-byte header of a mono 8000 Hz 8-bit PCM wave file holding sampleCount samples.
QByteArray BuildWaveHeader(quint32 sampleCount);

// Checks the Sun audio header on input, then writes a wave file to output (which must be
// seekable): the header with a count of 0, every sample after the data offset, then the header
// again with the real count. False when the header fails, a read or write fails, or the samples
// do not fit a wave file's 32-bit length fields.
bool ConvertSunAudioToWave(QIODevice& input, QIODevice& output);

// The conversion from one file to another, for playing. An input that fails the header check
// leaves outputPath untouched; a conversion that fails later removes the output file.
bool ConvertSunAudioFile(const QString& inputPath, const QString& outputPath);
