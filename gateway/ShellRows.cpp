// SPDX-License-Identifier: GPL-3.0-or-later
#include "ShellRows.h"

#include <vector>

namespace ShellRows {

namespace {

QByteArray answerEndRow()
{
    return QByteArray(kAnswerEnd) + kRowEnd;
}

} // namespace

bool isAnswerEnd(std::span<const QStringView> fields)
{
    return fields.size() == 1 && fields[0] == QLatin1String(kAnswerEnd);
}

bool takeAnswerEnd(QByteArray& output)
{
    const QByteArray row = answerEndRow();
    if (!output.endsWith(row))
        return false;
    output.chop(row.size());
    return true;
}

bool takeAnswerEnd(QString& output)
{
    const QString row = QString::fromLatin1(answerEndRow());
    if (!output.endsWith(row))
        return false;
    output.chop(row.size());
    return true;
}

namespace {

template <typename View, typename Separator>
void split(View output, Separator rowEnd, Separator fieldEnd,
           const std::function<void(std::span<const View>)>& visit)
{
    std::vector<View> fields;
    qsizetype start = 0;
    for (qsizetype end = output.indexOf(rowEnd); end >= 0;
         start = end + 1, end = output.indexOf(rowEnd, start)) {
        fields.clear();
        const View row = output.sliced(start, end - start);
        qsizetype fieldStart = 0;
        for (qsizetype sep = row.indexOf(fieldEnd); sep >= 0;
             fieldStart = sep + 1, sep = row.indexOf(fieldEnd, fieldStart))
            fields.push_back(row.sliced(fieldStart, sep - fieldStart));
        fields.push_back(row.sliced(fieldStart));
        visit(fields);
    }
}

} // namespace

void forEach(QStringView output, const std::function<void(std::span<const QStringView>)>& visit)
{
    split<QStringView>(output, QChar(kRowEnd), QChar(kFieldEnd), visit);
}

void forEachBytes(QByteArrayView output,
                  const std::function<void(std::span<const QByteArrayView>)>& visit)
{
    split<QByteArrayView>(output, kRowEnd, kFieldEnd, visit);
}

QList<QStringList> parse(const QString& output)
{
    QList<QStringList> rows;
    forEach(output, [&rows](std::span<const QStringView> fields) {
        QStringList row;
        row.reserve(qsizetype(fields.size()));
        for (const QStringView field : fields)
            row << field.toString();
        rows << std::move(row);
    });
    return rows;
}

} // namespace ShellRows
