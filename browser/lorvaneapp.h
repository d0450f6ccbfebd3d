#pragma once

#include <QString>

#include <cstdint>
#include <memory>
#include <thread>

class CMainFrame;

// The browser's run from start to end: what happens before the first page shows and
// after the window has closed.
class CLorvaneApp
{
public:
    CLorvaneApp();
    ~CLorvaneApp();

    // Starts the first steps of InitInstance (recording the start, loading the
    // configuration and the skin, decoding the pictures the window shows first) on a
    // thread of their own, so that they are done while the web engine starts up.
    void BeginStart();
    // Records the start, loads the configuration and the skin (those three begun by
    // BeginStart when it was called, and waited for), and opens the window with the
    // home page. False when the window could not be made.
    bool InitInstance();
    // Records the whole run once the window is gone.
    int ExitInstance();

    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    // Closes the pages (each records its last stay) and the window.
    void DestroyMainFrame();

    uint32_t StartTick() const { return m_dwStartTick; }
    const QString& StartTimeText() const { return m_strStartTime; }

    // The page a first run shows before the parents have set a home page.
    static QString StartPageAddress();
    // The start page telling the child to fetch a parent, shown when the parents'
    // settings are damaged.
    static QString RestrictedPageAddress();

private:
    void firstSteps();
    void loadConfiguration();

    std::thread m_firstSteps;
    bool m_bBegun = false;
    uint32_t m_dwStartTick = 0;
    QString m_strStartTime;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
