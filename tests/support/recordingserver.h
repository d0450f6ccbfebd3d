#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>

#include <functional>
#include <memory>

class QTcpSocket;

// A local HTTP/1.0 server that keeps a record of every connection made to it, not only
// of the requests it could read: a TLS handshake, a WebSocket upgrade or a connection
// that sends nothing counts as well. It listens on 127.0.0.1 and, when asked, on ::1
// at the same port, so that a browser resolving "localhost" to either address reaches
// it. What it answers comes from one handler.
class RecordingServer : public QObject
{
    Q_OBJECT

public:
    struct Request {
        QByteArray method;
        QString target; // path and query, as sent
        QString path;   // without the query
        QString query;
        QByteArray headers;
        QByteArray body;
    };
    struct Response {
        int status = 404;
        QByteArray headers; // complete header lines, each ending in "\r\n"
        QByteArray body;
    };
    // One per accepted connection, in the order they came.
    struct Connection {
        QByteArray opening;    // the first bytes received (up to 64), possibly none
        QByteArray requestLine; // empty when no HTTP request line ever arrived
    };
    using Handler = std::function<Response(const Request&)>;

    explicit RecordingServer(QObject* parent = nullptr);
    ~RecordingServer() override;

    // Listens on a free port of 127.0.0.1 (and of ::1 when `bothLoopbacks`).
    bool listen(bool bothLoopbacks);
    quint16 port() const { return m_v4.serverPort(); }

    void setHandler(Handler handler) { m_handler = std::move(handler); }

    // Forgets what was recorded so far.
    void clear();
    const QList<Connection>& connections() const { return m_connections; }
    const QList<Request>& requests() const { return m_requests; }
    // True when a request's path, or path and query, starts with `prefix`.
    bool sawRequest(const QString& prefix) const;
    // The connections, one line each, for a failure message.
    QString describeConnections() const;

    static Response page(const QByteArray& html);
    static Response redirect(const QByteArray& location, int status = 302);

private:
    void accept(QTcpServer* server);
    void readFrom(QTcpSocket* socket, int index, quint64 generation);

    QTcpServer m_v4;
    QTcpServer m_v6;
    Handler m_handler;
    QList<Connection> m_connections;
    QList<Request> m_requests;
    quint64 m_generation = 0;
};
