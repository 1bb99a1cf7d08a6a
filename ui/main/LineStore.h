// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUtf8StringView>

#include <memory>
#include <vector>

// One line of a list, as UTF-8 bytes held by a LineStore.
struct Line
{
    const char* data = nullptr;
    qsizetype size = 0;

    QUtf8StringView view() const { return {data, size}; }
    QString text() const { return QString::fromUtf8(data, size); }
};

// Lines in the order they were added, kept as UTF-8 in large chunks: a million lines cost
// their bytes and little more, and a line's bytes never move while the store lives (a moved
// store keeps them where they were), so a Line stays valid as long as its store.
class LineStore
{
public:
    LineStore() = default;
    LineStore(LineStore&&) noexcept = default;
    LineStore& operator=(LineStore&&) noexcept = default;

    Line append(QByteArrayView utf8);
    Line append(QStringView text);

    qsizetype size() const { return qsizetype(m_lines.size()); }
    QStringList texts() const;
    // The lines' order is handed to whoever sorts them; the bytes stay here.
    std::vector<Line> takeLines() { return std::move(m_lines); }

private:
    char* reserve(qsizetype bytes);

    std::vector<std::unique_ptr<char[]>> m_chunks;
    qsizetype m_used = 0;
    qsizetype m_capacity = 0;
    std::vector<Line> m_lines;
};
