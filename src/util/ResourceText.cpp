#include "util/ResourceText.h"

#include "util/ProgramInfo.h"

#include <QFile>
#include <QHash>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using StringTable = QHash<int, QByteArray>;

StringTable ReadStringTable()
{
    StringTable table;
    QFile file(QStringLiteral(":/strings.json"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QJsonObject entries = QJsonDocument::fromJson(file.readAll()).object();
    const QByteArray productName = CurrentProgramInfo().productName;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        bool isNumber = false;
        const int id = it.key().toInt(&isNumber);
        if (!isNumber)
            continue;
        QByteArray text
            = it.value().toObject().value(QLatin1String("text")).toString().toLocal8Bit();
        table.insert(id, text.replace(kProductNamePlaceholder, productName));
    }
    return table;
}

} // namespace

QByteArray LoadResourceText(int id)
{
    static const StringTable table = ReadStringTable();
    return table.value(id);
}

QByteArray FormatResourceText(int id, const QByteArray& first, const QByteArray& second)
{
    // One pass, so that a "%2" inside the first text is not replaced in turn.
    const QByteArray text = LoadResourceText(id);
    QByteArray result;
    result.reserve(text.size() + first.size() + second.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && (text[i + 1] == '1' || text[i + 1] == '2')) {
            result += text[i + 1] == '1' ? first : second;
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}
