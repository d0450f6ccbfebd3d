#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QUrl>

class QTimer;
class QWebEngineView;
class CSnapshotPage;

// Takes the small picture of a recommended site: loads the address in a hidden,
// silent 800 × 600 web view that renders but never appears, and shrinks what it
// painted to 128 × 96. The add and edit site dialogs own one each.
class CSiteSnapshot : public QObject
{
    Q_OBJECT

public:
    static constexpr int PictureWidth = 128;
    static constexpr int PictureHeight = 96;
    static constexpr int ViewWidth = 800;
    static constexpr int ViewHeight = 600;

    explicit CSiteSnapshot(QObject* parent = nullptr);
    ~CSiteSnapshot() override;

    // Whitens the picture, emits started() and loads the address (no scheme → http://).
    // Starting again before the last page finished simply loads anew.
    void Start(const QString& address);

    // The current 128 × 96 picture: white after Start until the page has been captured.
    QImage Picture() const;
    bool IsLoading() const;

    // Writes the picture as a BMP file, complete or not at all; false on failure.
    static bool SavePicture(const QImage& picture, const QString& path);
    // A stored snapshot stretched to 128 × 96; a null image (and a warning) when the file is
    // missing or unreadable.
    static QImage LoadPicture(const QString& path);
    // The address as typed turned into what the view loads: no scheme gets "http://".
    static QUrl AddressToUrl(const QString& address);

signals:
    void started();
    // Each time the page has been drawn into the picture (the first and every further load).
    void captured(const QImage& picture);
    // The wait animation should stop: the first capture is ready, or loading failed.
    void finishedLoading();
    // The loaded page's title, for the add dialog's name field.
    void titleChanged(const QString& title);

private:
    void OnLoadFinished(bool ok);
    void WaitForPaint(quint64 generation);
    void ScheduleGrab(quint64 generation);
    void TryGrab(quint64 generation, bool painted);
    void FinishLoading();

    QWebEngineView* m_view = nullptr;
    CSnapshotPage* m_page = nullptr;
    QImage m_picture;
    QImage m_lastGrab; // the full-size view behind the last picture
    bool m_loading = false;
    bool m_finishedSignalled = true;
    // Bumped by every Start and load-finished, so a stale grab of an earlier load is dropped.
    quint64 m_generation = 0;
    int m_grabAttempts = 0;
    QTimer* m_retryTimer = nullptr;
};
