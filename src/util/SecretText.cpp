#include "util/SecretText.h"

#include <QList>

#include <algorithm>
#include <iterator>

namespace {

struct UpperCaseRun
{
    char32_t first;
    int count;
    int step;
    int delta;
};

struct UpperCaseMulti
{
    char32_t code;
    char32_t parts[3];
};

#include "UpperCaseTable.inc"

QString FromCodePoints(const char32_t* codes, qsizetype count)
{
    return QString::fromUcs4(codes, count);
}

} // namespace

QString FrozenUpperCase(char32_t code)
{
    const auto multi = std::lower_bound(std::begin(kUpperCaseMulti), std::end(kUpperCaseMulti),
        code, [](const UpperCaseMulti& entry, char32_t wanted) { return entry.code < wanted; });
    if (multi != std::end(kUpperCaseMulti) && multi->code == code) {
        const auto end = std::find(std::begin(multi->parts), std::end(multi->parts), U'\0');
        return FromCodePoints(multi->parts, end - std::begin(multi->parts));
    }
    // The last run that starts at or before the code point is the only one that can hold it.
    const auto after = std::upper_bound(std::begin(kUpperCaseRuns), std::end(kUpperCaseRuns), code,
        [](char32_t wanted, const UpperCaseRun& run) { return wanted < run.first; });
    char32_t result = code;
    if (after != std::begin(kUpperCaseRuns)) {
        const UpperCaseRun& run = *std::prev(after);
        const char32_t offset = code - run.first;
        if (offset % char32_t(run.step) == 0 && offset / char32_t(run.step) < char32_t(run.count))
            result = char32_t(int(code) + run.delta);
    }
    return FromCodePoints(&result, 1);
}

QString SecretTextForm(const QString& text, bool foldCase)
{
    const QString composed = text.normalized(QString::NormalizationForm_C);
    if (!foldCase)
        return composed;
    QString upper;
    upper.reserve(composed.size());
    for (const uint code : composed.toUcs4())
        upper += FrozenUpperCase(code);
    return upper;
}

QByteArray FrozenUpperCaseJson()
{
    QByteArray json = R"({"runs":[)";
    for (const UpperCaseRun& run : kUpperCaseRuns) {
        if (&run != std::begin(kUpperCaseRuns))
            json += ',';
        json += QByteArray::number(uint(run.first)) + ',' + QByteArray::number(run.count) + ','
            + QByteArray::number(run.step) + ',' + QByteArray::number(run.delta);
    }
    json += R"(],"multi":[)";
    for (const UpperCaseMulti& entry : kUpperCaseMulti) {
        if (&entry != std::begin(kUpperCaseMulti))
            json += ',';
        json += '[' + QByteArray::number(uint(entry.code)) + ",[";
        for (std::size_t i = 0; i < std::size(entry.parts) && entry.parts[i] != U'\0'; ++i)
            json += QByteArray(i == 0 ? "" : ",") + QByteArray::number(uint(entry.parts[i]));
        json += "]]";
    }
    return json + "]}";
}
