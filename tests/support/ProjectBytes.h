#pragma once

#include "model/Doc.h"
#include "model/DocFields.h"
#include "model/ProjectFile.h"
#include "model/SettingsBlock.h"

#include <QBuffer>
#include <QByteArray>
#include <QtEndian>

#include <gtest/gtest.h>

// Builds project file bytes by hand, so that tests can check the reader against encodings the
// writer never produces.
class ProjectBytes
{
public:
    enum class Prefix { Short, Medium, Long };

    ProjectBytes& Int(std::uint32_t value)
    {
        char raw[4];
        qToLittleEndian(value, raw);
        m_bytes.append(raw, 4);
        return *this;
    }

    ProjectBytes& Length(std::uint32_t length, Prefix form)
    {
        if (form == Prefix::Short) {
            m_bytes += char(length);
        } else if (form == Prefix::Medium) {
            m_bytes += char(0xFF);
            Word(length);
        } else {
            m_bytes += char(0xFF);
            Word(0xFFFF);
            Int(length);
        }
        return *this;
    }

    ProjectBytes& Text(const QByteArray& text, Prefix form = Prefix::Short)
    {
        Length(std::uint32_t(text.size()), form);
        m_bytes += text;
        return *this;
    }

    ProjectBytes& WideText(const QString& text, Prefix form = Prefix::Short)
    {
        m_bytes += char(0xFF);
        Word(0xFFFE);
        Length(std::uint32_t(text.size()), form);
        for (QChar ch : text)
            Word(ch.unicode());
        return *this;
    }

    ProjectBytes& Raw(const QByteArray& bytes)
    {
        m_bytes += bytes;
        return *this;
    }

    // A record of the settings block: its tag, the payload's length and the payload.
    ProjectBytes& Record(std::uint16_t tag, const QByteArray& payload)
    {
        Word(tag);
        Int(std::uint32_t(payload.size()));
        m_bytes += payload;
        return *this;
    }

    const QByteArray& Bytes() const { return m_bytes; }

private:
    void Word(std::uint16_t value)
    {
        char raw[2];
        qToLittleEndian(value, raw);
        m_bytes.append(raw, 2);
    }

    QByteArray m_bytes;
};

inline QByteArray WrittenBytes(Doc& doc)
{
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(WriteProject(doc, buffer));
    return buffer.data();
}

inline bool ReadBytes(Doc& doc, const QByteArray& bytes)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return ReadProject(doc, buffer);
}

// The default project with its lock count (the last four bytes) cut off.
inline QByteArray DefaultRecordsWithoutLocks()
{
    Doc doc;
    return WrittenBytes(doc).chopped(4);
}

// Every stored field, for comparing two projects; publishDirectory is left out.
inline void ExpectSameStoredFields(const Doc& a, const Doc& b)
{
    for (const DocField& field : DocFields) {
        std::visit(
            [&](auto member) { EXPECT_EQ(a.*member, b.*member) << field.name; }, field.member);
    }
    for (const BlockSetting& setting : BlockSettings)
        EXPECT_EQ(setting.toJson(a), setting.toJson(b)) << setting.name;
    ASSERT_EQ(a.locks.size(), b.locks.size());
    for (std::size_t i = 0; i < a.locks.size(); ++i)
        EXPECT_FALSE(a.locks[i].DiffersFrom(b.locks[i])) << "lock " << i;
}
