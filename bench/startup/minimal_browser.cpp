// The floor for the start-up benchmark: one web view per tab and nothing else. It
// opens the address given as its argument; pages that open windows get new tabs.
// Its steps go to the standard error as the browser logs its own.

#include <QApplication>
#include <QTabWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <chrono>
#include <cstdio>

static void mark(const char* step)
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::fprintf(stderr, "lorvane.browser.startup: %s %lld main\n", step,
                 static_cast<long long>(std::chrono::duration_cast<std::chrono::microseconds>(now).count()));
}

class TabPage : public QWebEnginePage
{
public:
    TabPage(QTabWidget* tabs, QObject* parent)
        : QWebEnginePage(parent)
        , m_tabs(tabs)
    {
    }

protected:
    QWebEnginePage* createWindow(WebWindowType) override
    {
        auto* view = new QWebEngineView;
        view->setPage(new TabPage(m_tabs, view));
        m_tabs->setCurrentIndex(m_tabs->addTab(view, QString()));
        return view->page();
    }

private:
    QTabWidget* m_tabs;
};

int main(int argc, char** argv)
{
    mark("main");
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    mark("application");
    QTabWidget tabs;
    auto* view = new QWebEngineView;
    view->setPage(new TabPage(&tabs, view));
    tabs.addTab(view, QString());
    mark("view");
    tabs.resize(1280, 800);
    tabs.show();
    mark("shown");
    view->load(QUrl(QString::fromLocal8Bit(argc > 1 ? argv[1] : "about:blank")));
    mark("first page");
    QObject::connect(view, &QWebEngineView::loadFinished, view, [] { mark("first page loaded"); },
                     Qt::SingleShotConnection);
    return app.exec();
}
