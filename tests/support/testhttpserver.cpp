#include "testhttpserver.h"

#include <QTcpSocket>

TestHttpServer::TestHttpServer(QObject* parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket* s = m_server.nextPendingConnection()) {
            connect(s, &QTcpSocket::readyRead, this, [this, s] { serve(s); });
            connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        }
    });
}

bool TestHttpServer::listen()
{
    return m_server.listen(QHostAddress::LocalHost, 0);
}

QUrl TestHttpServer::url(const QString& path, const QString& host) const
{
    return QUrl(QStringLiteral("http://%1:%2%3").arg(host).arg(port()).arg(path));
}

void TestHttpServer::addPage(const QString& path, const QByteArray& body, const QByteArray& contentType)
{
    m_routes.insert(path, {200, "Content-Type: " + contentType + "\r\n", body});
}

void TestHttpServer::addTitledPage(const QString& path, const QString& title, const QString& bodyHtml)
{
    addPage(path, QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"><title>%1</title></head>"
                                 "<body>%2</body></html>")
                      .arg(title, bodyHtml)
                      .toUtf8());
}

void TestHttpServer::addRedirect(const QString& path, const QString& location)
{
    m_routes.insert(path, {302, "Location: " + location.toUtf8() + "\r\n", QByteArray()});
}

void TestHttpServer::serve(QTcpSocket* socket)
{
    if (!socket->canReadLine() || socket->property("answered").toBool())
        return;
    const QList<QByteArray> requestLine = socket->readLine().trimmed().split(' ');
    socket->readAll();
    socket->setProperty("answered", true);
    const QString target = requestLine.size() > 1 ? QString::fromUtf8(requestLine.at(1)) : QString();
    const QString path = target.section(QLatin1Char('?'), 0, 0);
    m_requested.append(path);

    const auto it = m_routes.constFind(path);
    const Response r = it != m_routes.constEnd() ? *it : Response{404, "Content-Type: text/plain\r\n", "not found"};
    const QByteArray reason = r.status == 200 ? "OK" : r.status == 302 ? "Found" : "Not Found";
    QByteArray out = "HTTP/1.0 " + QByteArray::number(r.status) + ' ' + reason + "\r\n" + r.headers
        + "Content-Length: " + QByteArray::number(r.body.size()) + "\r\nConnection: close\r\n\r\n" + r.body;
    socket->write(out);
    socket->disconnectFromHost();
}
