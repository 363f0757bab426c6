#include "generate/LockCsv.h"

#include "generate/LockCrypto.h"
#include "generate/LockData.h"
#include "model/Doc.h"
#include "model/DocFields.h"
#include "model/LockCheck.h"
#include "model/MemberArea.h"
#include "util/Csv.h"
#include "util/ResourceText.h"
#include "util/StringIds.h"
#include "util/TextEncoding.h"

#include <QHash>

#include <algorithm>
#include <optional>

namespace {

const char kByteOrderMark[] = "\xEF\xBB\xBF";

QByteArray AsUtf8(const QByteArray& text)
{
    return QByteArrayView(text).isValidUtf8() ? text : DecodeProjectText(text).toUtf8();
}

template<QByteArray LockEntry::*Member> LockCsvColumn TextColumn(const char* name)
{
    return { name, [](const Doc&, const LockEntry& lock) { return AsUtf8(lock.*Member); },
        [](const Doc&, LockEntry& lock, const QByteArray& cell, QByteArray&) {
            lock.*Member = cell;
            return true;
        } };
}

// The areas a lock opens: kEveryArea for every area, also those added later; otherwise the names,
// separated by ";", none at all for a lock that only leads to its address. Names the project
// lacks are refused.
const char kEveryArea[] = "*";

LockCsvColumn AreasColumn()
{
    return { "areas",
        [](const Doc&, const LockEntry& lock) {
            return lock.areas ? AsUtf8(lock.areas->join(';')) : QByteArray(kEveryArea);
        },
        [](const Doc& doc, LockEntry& lock, const QByteArray& cell, QByteArray& reason) {
            const QByteArray text = cell.trimmed();
            if (text == kEveryArea) {
                lock.areas.reset();
                return true;
            }
            QByteArrayList names;
            for (const QByteArray& part : text.split(';')) {
                const QByteArray name = part.trimmed();
                if (name.isEmpty() || names.contains(name))
                    continue;
                if (!FindArea(doc, name)) {
                    reason = FormatResourceText(IDS_CSV_UNKNOWN_AREA, name);
                    return false;
                }
                names.append(name);
            }
            lock.areas = names;
            return true;
        } };
}

QByteArray ColumnNames(const char* separator)
{
    QByteArrayList names;
    for (const LockCsvColumn& column : LockCsvColumns())
        names.append(column.name);
    return names.join(separator);
}

QByteArray FaultReason(CsvReader::Fault fault)
{
    switch (fault) {
    case CsvReader::Fault::UnclosedQuote:
        return LoadResourceText(IDS_CSV_UNCLOSED_QUOTE);
    case CsvReader::Fault::TextAfterQuote:
        return LoadResourceText(IDS_CSV_TEXT_AFTER_QUOTE);
    case CsvReader::Fault::QuoteInField:
    case CsvReader::Fault::None:
        break;
    }
    return LoadResourceText(IDS_CSV_QUOTE_IN_FIELD);
}

bool IsBlank(const CsvRow& row)
{
    return std::all_of(row.fields.begin(), row.fields.end(),
        [](const QByteArray& cell) { return cell.isEmpty(); });
}

bool IsUtf8(const CsvRow& row)
{
    return std::all_of(row.fields.begin(), row.fields.end(),
        [](const QByteArray& cell) { return QByteArrayView(cell).isValidUtf8(); });
}

// Why a lock the window's Lock Properties would refuse is refused; empty when it would be taken.
QByteArray LockReason(const LockEntry& lock)
{
    if (lock.userId.isEmpty())
        return LoadResourceText(IDS_MUST_ENTER_USER);
    if (lock.url.isEmpty())
        return LoadResourceText(IDS_MUST_ENTER_URL);
    if (const LockField* field = UnreadableField(lock))
        return FormatResourceText(
            field->mayHoldSeparator ? IDS_LOCK_FIELD_CONTROL : IDS_LOCK_FIELD_SEPARATOR,
            field->label);
    return {};
}

// Reads the rows of one file into a lock list.
class ImportReader
{
public:
    ImportReader(const Doc& doc, QByteArrayView csv, bool replace)
        : m_doc(doc)
        , m_reader(csv.startsWith(kByteOrderMark) ? csv.sliced(3) : csv)
        , m_fold(doc.IgnoresCase())
    {
        if (!replace)
            m_import.locks = doc.locks;
        m_existing = m_import.locks.size();
        m_index.reserve(qsizetype(m_existing));
        for (std::size_t i = 0; i < m_existing; ++i)
            m_index.insert(LockSecretPart(m_import.locks[i].userId, m_fold), i);
        m_isImported.assign(m_existing, false);
    }

    std::variant<LockImport, LockImportRefusal> Read()
    {
        CsvRow row;
        bool haveHeader = false;
        while (m_reader.Next(row)) {
            if (IsBlank(row))
                continue;
            if (!IsUtf8(row))
                return Refuse(row.line, LoadResourceText(IDS_CSV_NOT_UTF8));
            const std::optional<LockImportRefusal> refusal
                = haveHeader ? TakeRow(row) : TakeHeader(row);
            if (refusal)
                return *refusal;
            haveHeader = true;
        }
        if (m_reader.GetFault() != CsvReader::Fault::None)
            return Refuse(m_reader.FaultLine(), FaultReason(m_reader.GetFault()));
        if (!haveHeader)
            return Refuse(1, FormatResourceText(IDS_CSV_NO_HEADER, ColumnNames(",")));
        return std::move(m_import);
    }

private:
    static LockImportRefusal Refuse(int line, QByteArray reason)
    {
        return { line, std::move(reason) };
    }

    std::optional<LockImportRefusal> TakeHeader(const CsvRow& row)
    {
        const std::vector<LockCsvColumn>& columns = LockCsvColumns();
        QByteArray unknown;
        for (const QByteArray& cell : row.fields) {
            const QByteArray name = cell.trimmed();
            const auto column
                = std::find_if(columns.begin(), columns.end(), [&name](const LockCsvColumn& known) {
                      return name.compare(known.name, Qt::CaseInsensitive) == 0;
                  });
            if (column == columns.end()) {
                // A spreadsheet may end the header with empty cells; those columns stay empty.
                if (unknown.isEmpty() && !name.isEmpty())
                    unknown = cell;
                m_columns.push_back(nullptr);
                continue;
            }
            if (std::find(m_columns.begin(), m_columns.end(), &*column) != m_columns.end())
                return Refuse(row.line, FormatResourceText(IDS_CSV_COLUMN_TWICE, column->name));
            m_columns.push_back(&*column);
        }
        const bool namesAny = std::any_of(m_columns.begin(), m_columns.end(),
            [](const LockCsvColumn* column) { return column != nullptr; });
        if (!namesAny)
            return Refuse(row.line, FormatResourceText(IDS_CSV_NO_HEADER, ColumnNames(",")));
        if (!unknown.isEmpty())
            return Refuse(
                row.line, FormatResourceText(IDS_CSV_UNKNOWN_COLUMN, unknown, ColumnNames(", ")));
        m_userIdColumn = std::find_if(m_columns.begin(), m_columns.end(),
                             [](const LockCsvColumn* column) {
                                 return column && qstrcmp(column->name, LockFields[0].name) == 0;
                             })
            - m_columns.begin();
        if (std::size_t(m_userIdColumn) == m_columns.size())
            return Refuse(row.line, LoadResourceText(IDS_CSV_NO_USER_COLUMN));
        return std::nullopt;
    }

    std::optional<LockImportRefusal> TakeRow(const CsvRow& row)
    {
        const qsizetype named = qsizetype(m_columns.size());
        const bool extraCellsEmpty
            = std::all_of(row.fields.begin() + std::min(named, row.fields.size()), row.fields.end(),
                [](const QByteArray& cell) { return cell.isEmpty(); });
        if (row.fields.size() < named || !extraCellsEmpty)
            return Refuse(row.line,
                FormatResourceText(IDS_CSV_FIELD_COUNT, QByteArray::number(row.fields.size()),
                    QByteArray::number(named)));

        const QByteArray key = LockSecretPart(row.fields[m_userIdColumn], m_fold);
        const auto found = m_index.constFind(key);
        const std::size_t index = found != m_index.constEnd() ? *found : m_import.locks.size();
        LockEntry lock = index < m_import.locks.size() ? m_import.locks[index] : LockEntry();
        for (qsizetype i = 0; i < named; ++i) {
            const LockCsvColumn* column = m_columns[std::size_t(i)];
            if (!column) {
                if (!row.fields[i].isEmpty())
                    return Refuse(row.line, LoadResourceText(IDS_CSV_UNNAMED_COLUMN));
                continue;
            }
            QByteArray reason;
            if (!column->read(m_doc, lock, row.fields[i], reason))
                return Refuse(row.line, reason);
        }
        if (QByteArray reason = LockReason(lock); !reason.isEmpty())
            return Refuse(row.line, reason);

        if (index == m_import.locks.size()) {
            m_import.locks.push_back(std::move(lock));
            m_index.insert(key, index);
            m_isImported.push_back(false);
            ++m_import.added;
        } else {
            m_import.locks[index] = std::move(lock);
            if (index < m_existing && !m_isImported[index])
                ++m_import.updated;
        }
        if (!m_isImported[index]) {
            m_isImported[index] = true;
            m_import.imported.push_back(index);
        }
        return std::nullopt;
    }

    const Doc& m_doc;
    CsvReader m_reader;
    const bool m_fold;
    LockImport m_import;
    // The column of each header cell.
    std::vector<const LockCsvColumn*> m_columns;
    qsizetype m_userIdColumn = 0;
    // Each user ID as the box compares it, with the first lock that has it.
    QHash<QByteArray, std::size_t> m_index;
    std::size_t m_existing = 0;
    std::vector<bool> m_isImported;
};

} // namespace

const std::vector<LockCsvColumn>& LockCsvColumns()
{
    static const std::vector<LockCsvColumn> columns {
        TextColumn<&LockEntry::userId>("userId"),
        TextColumn<&LockEntry::password>("password"),
        TextColumn<&LockEntry::url>("url"),
        TextColumn<&LockEntry::target>("target"),
        AreasColumn(),
    };
    return columns;
}

QByteArray LocksToCsv(const Doc& doc)
{
    const std::vector<LockCsvColumn>& columns = LockCsvColumns();
    QByteArray csv = kByteOrderMark + CsvLine(ColumnNames(",").split(','));
    QByteArrayList cells;
    for (const LockEntry& lock : doc.locks) {
        cells.clear();
        for (const LockCsvColumn& column : columns)
            cells.append(column.write(doc, lock));
        csv += CsvLine(cells);
    }
    return csv;
}

QByteArray LockImportRefusal::Message() const
{
    return FormatResourceText(IDS_CSV_LINE, QByteArray::number(line), reason);
}

std::variant<LockImport, LockImportRefusal> ReadLockImport(
    const Doc& doc, QByteArrayView csv, bool replace)
{
    return ImportReader(doc, csv, replace).Read();
}

int CountEmptyPasswords(const LockImport& import)
{
    return int(std::count_if(import.imported.begin(), import.imported.end(),
        [&import](std::size_t index) { return import.locks[index].password.isEmpty(); }));
}

int GeneratePasswords(LockImport& import)
{
    int generated = 0;
    for (std::size_t index : import.imported) {
        QByteArray& password = import.locks[index].password;
        if (password.isEmpty()) {
            password = RandomPassword();
            ++generated;
        }
    }
    return generated;
}

QByteArray RandomPassword()
{
    static const QByteArray alphabet = "23456789abcdefghjkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ";
    constexpr int kLength = 12;
    // Bytes at or above the largest multiple of the alphabet's size are drawn again, so every
    // character is equally likely.
    const int limit = 256 - 256 % int(alphabet.size());
    QByteArray password;
    while (password.size() < kLength) {
        for (char byte : RandomBytes(kLength)) {
            const int value = static_cast<unsigned char>(byte);
            if (value < limit && password.size() < kLength)
                password += alphabet[value % alphabet.size()];
        }
    }
    return password;
}
