// The floor for the start-up benchmark: one web view per tab and nothing else. It
// opens the address given as its argument; pages that open windows get new tabs.

#include <QApplication>
#include <QTabWidget>
#include <QWebEnginePage>
#include <QWebEngineView>

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
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QTabWidget tabs;
    auto* view = new QWebEngineView;
    view->setPage(new TabPage(&tabs, view));
    tabs.addTab(view, QString());
    tabs.resize(1280, 800);
    tabs.show();
    view->load(QUrl(QString::fromLocal8Bit(argc > 1 ? argv[1] : "about:blank")));
    return app.exec();
}
