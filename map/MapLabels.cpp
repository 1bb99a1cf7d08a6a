// SPDX-License-Identifier: GPL-3.0-or-later
#include "MapLabels.h"

void MapLabels::append(QByteArrayView utf8)
{
    m_bytes.append(utf8.data(), size_t(utf8.size()));
    m_ends.push_back(m_bytes.size());
}

QByteArrayView MapLabels::utf8(qsizetype i) const
{
    const size_t begin = i > 0 ? m_ends[size_t(i) - 1] : 0;
    return QByteArrayView(m_bytes.data() + begin, qsizetype(m_ends[size_t(i)] - begin));
}
