#include "recordingserver.h"

#include <QTcpSocket>

namespace {

constexpr int kOpeningBytes = 64;
// A request head larger than this is not one a test sends; stop reading it.
constexpr int kMaxHead = 64 * 1024;

QByteArray reasonOf(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 301:
        return "Moved Permanently";
    case 302:
        return "Found";
    case 303:
        return "See Other";
    case 307:
        return "Temporary Redirect";
    default:
        return status >= 400 ? "Error" : "Status";
    }
}

} // namespace

RecordingServer::RecordingServer(QObject* parent)
    : QObject(parent)
{
    connect(&m_v4, &QTcpServer::newConnection, this, [this] { accept(&m_v4); });
    connect(&m_v6, &QTcpServer::newConnection, this, [this] { accept(&m_v6); });
}

RecordingServer::~RecordingServer() = default;

bool RecordingServer::listen(bool bothLoopbacks)
{
    // The IPv6 side needs the same port, which another program may hold: try a few.
    for (int attempt = 0; attempt < 20; ++attempt) {
        if (!m_v4.listen(QHostAddress::LocalHost, 0))
            return false;
        if (!bothLoopbacks || m_v6.listen(QHostAddress::LocalHostIPv6, m_v4.serverPort()))
            return true;
        m_v4.close();
    }
    return false;
}

void RecordingServer::clear()
{
    ++m_generation;
    m_connections.clear();
    m_requests.clear();
}

bool RecordingServer::sawRequest(const QString& prefix) const
{
    for (const Request& r : m_requests) {
        if (r.target.startsWith(prefix) || r.path.startsWith(prefix))
            return true;
    }
    return false;
}

QString RecordingServer::describeConnections() const
{
    QStringList lines;
    for (const Connection& c : m_connections) {
        if (!c.requestLine.isEmpty())
            lines.append(QString::fromLatin1(c.requestLine));
        else if (c.opening.isEmpty())
            lines.append(QStringLiteral("(connection, nothing sent)"));
        else
            lines.append(QStringLiteral("(connection, no whole request; first bytes %1)")
                             .arg(QString::fromLatin1(c.opening.left(16).toHex(' '))));
    }
    return lines.join(QStringLiteral("; "));
}

RecordingServer::Response RecordingServer::page(const QByteArray& html)
{
    return {200, "Content-Type: text/html; charset=utf-8\r\n", html};
}

RecordingServer::Response RecordingServer::redirect(const QByteArray& location, int status)
{
    return {status, "Location: " + location + "\r\n", QByteArray()};
}

void RecordingServer::accept(QTcpServer* server)
{
    while (QTcpSocket* socket = server->nextPendingConnection()) {
        const int index = int(m_connections.size());
        const quint64 generation = m_generation;
        m_connections.append(Connection{});
        connect(socket, &QTcpSocket::readyRead, this,
                [this, socket, index, generation] { readFrom(socket, index, generation); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        if (socket->bytesAvailable() > 0)
            readFrom(socket, index, generation);
    }
}

void RecordingServer::readFrom(QTcpSocket* socket, int index, quint64 generation)
{
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    QByteArray buffer = socket->property("buffer").toByteArray() + socket->readAll();
    socket->setProperty("buffer", buffer);
    // The record is found again by position; a clear() in between makes it stale.
    const bool current = generation == m_generation && index < m_connections.size();
    if (current && m_connections[index].opening.size() < kOpeningBytes)
        m_connections[index].opening = buffer.left(kOpeningBytes);

    const qsizetype headEnd = buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (buffer.size() > kMaxHead)
            socket->abort();
        return;
    }
    const QByteArray head = buffer.left(headEnd);
    const qsizetype lineEnd = head.indexOf("\r\n");
    const QByteArray requestLine = lineEnd < 0 ? head : head.left(lineEnd);
    if (current)
        m_connections[index].requestLine = requestLine;

    Request request;
    request.headers = lineEnd < 0 ? QByteArray() : head.mid(lineEnd + 2);
    qsizetype contentLength = 0;
    for (const QByteArray& line : request.headers.split('\n')) {
        const QByteArray l = line.trimmed();
        if (l.toLower().startsWith("content-length:"))
            contentLength = l.mid(15).trimmed().toLongLong();
    }
    if (buffer.size() - headEnd - 4 < contentLength)
        return;
    request.body = buffer.mid(headEnd + 4, contentLength);
    const QList<QByteArray> parts = requestLine.split(' ');
    request.method = parts.value(0);
    request.target = QString::fromUtf8(parts.value(1));
    request.path = request.target.section(QLatin1Char('?'), 0, 0);
    request.query = request.target.section(QLatin1Char('?'), 1);
    if (generation == m_generation)
        m_requests.append(request);

    socket->setProperty("answered", true);
    const Response r = m_handler ? m_handler(request) : Response{404, "Content-Type: text/plain\r\n", "not found"};
    socket->write("HTTP/1.0 " + QByteArray::number(r.status) + ' ' + reasonOf(r.status) + "\r\n" + r.headers
                  + "Content-Length: " + QByteArray::number(r.body.size()) + "\r\nConnection: close\r\n\r\n"
                  + r.body);
    socket->disconnectFromHost();
}
