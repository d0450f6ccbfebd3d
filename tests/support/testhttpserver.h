#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <QTcpServer>
#include <QUrl>

// A small HTTP/1.0 server on 127.0.0.1 for web tests: it serves the pages and
// redirects a test registers, answers 404 otherwise, and remembers every path asked
// for. Pages reached as "localhost" and as "127.0.0.1" come from two different hosts
// as far as a browser is concerned.
class TestHttpServer : public QObject
{
    Q_OBJECT

public:
    explicit TestHttpServer(QObject* parent = nullptr);

    bool listen();
    quint16 port() const { return m_server.serverPort(); }
    QUrl url(const QString& path, const QString& host = QStringLiteral("127.0.0.1")) const;

    void addPage(const QString& path, const QByteArray& body,
                 const QByteArray& contentType = "text/html; charset=utf-8");
    // A page whose <title> is `title`, with `bodyHtml` inside its body.
    void addTitledPage(const QString& path, const QString& title, const QString& bodyHtml = QString());
    void addRedirect(const QString& path, const QString& location);

    const QStringList& requestedPaths() const { return m_requested; }

private:
    struct Response {
        int status;
        QByteArray headers;
        QByteArray body;
    };
    void serve(class QTcpSocket* socket);

    QTcpServer m_server;
    QHash<QString, Response> m_routes;
    QStringList m_requested;
};
