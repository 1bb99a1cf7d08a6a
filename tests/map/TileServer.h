// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBuffer>
#include <QColor>
#include <QHash>
#include <QImage>
#include <QList>
#include <QTcpServer>
#include <QTcpSocket>

// A tile server on this computer's loopback: it answers GET requests with a PNG (or with the
// answer a test sets), counts them, keeps their headers, and can hold its answers back or
// never give them.
class TileServer : public QObject
{
public:
    enum class Answer
    {
        AtOnce,
        Held,
        Never
    };

    static QByteArray png(QColor colour, QSize size = {256, 256})
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "PNG");
        return buffer.data();
    }

    TileServer()
    {
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = m_server.nextPendingConnection())
                connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        });
        m_server.listen(QHostAddress::LocalHost);
    }

    QString urlTemplate() const
    {
        return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(m_server.serverPort());
    }
    void setAnswer(Answer answer) { m_answer = answer; }
    void setReply(QByteArray status, QByteArray body)
    {
        m_status = std::move(status);
        m_body = std::move(body);
    }

    QList<QByteArray> paths() const { return m_paths; }
    int requests() const { return int(m_paths.size()); }
    QByteArray lastHeader(const QByteArray& name) const { return m_headers.value(name.toLower()); }
    int held() const { return int(m_held.size()); }
    int mostHeld() const { return m_mostHeld; }
    void releaseOne()
    {
        if (!m_held.isEmpty())
            reply(m_held.takeFirst());
    }

private:
    void read(QTcpSocket* socket)
    {
        QByteArray& buffer = m_buffers[socket];
        buffer += socket->readAll();
        for (qsizetype end; (end = buffer.indexOf("\r\n\r\n")) >= 0;) {
            const QList<QByteArray> lines = buffer.left(end).split('\n');
            buffer.remove(0, end + 4);
            m_paths.append(lines.value(0).split(' ').value(1));
            m_headers.clear();
            for (const QByteArray& line : lines.mid(1)) {
                const qsizetype colon = line.indexOf(':');
                m_headers.insert(line.left(colon).trimmed().toLower(),
                                 line.mid(colon + 1).trimmed());
            }
            if (m_answer == Answer::AtOnce)
                reply(socket);
            else if (m_answer == Answer::Held)
                m_held.append(socket);
            m_mostHeld = std::max(m_mostHeld, held());
        }
    }

    void reply(QTcpSocket* socket)
    {
        socket->write("HTTP/1.1 " + m_status + "\r\nContent-Type: image/png\r\n" +
                      "Cache-Control: max-age=604800\r\nContent-Length: " +
                      QByteArray::number(m_body.size()) + "\r\n\r\n" + m_body);
    }

    QTcpServer m_server;
    Answer m_answer = Answer::AtOnce;
    QByteArray m_status = "200 OK";
    QByteArray m_body = png(Qt::green);
    QHash<QTcpSocket*, QByteArray> m_buffers;
    QList<QByteArray> m_paths;
    QHash<QByteArray, QByteArray> m_headers;
    QList<QTcpSocket*> m_held;
    int m_mostHeld = 0;
};
