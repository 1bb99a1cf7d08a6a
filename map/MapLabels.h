// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArrayView>
#include <QString>

#include <string>
#include <vector>

// The labels of a map's points, by index, packed end to end in one buffer: a million labels
// cost their bytes and one offset each, not a million strings.
class MapLabels
{
public:
    // `utf8` is copied.
    void append(QByteArrayView utf8);
    void reserve(qsizetype count) { m_ends.reserve(size_t(count)); }

    qsizetype size() const { return qsizetype(m_ends.size()); }
    QByteArrayView utf8(qsizetype i) const;
    QString at(qsizetype i) const { return QString::fromUtf8(utf8(i)); }

private:
    std::string m_bytes;
    std::vector<size_t> m_ends; // where each label ends in m_bytes
};
