#include "customcontrolsite.h"

#include "messagebox.h"
#include "pagescripting.h"

#include <QChildEvent>
#include <QKeyEvent>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineView>

const char CCustomControlSite::kScriptBoxCaption[] = "Tavish浏览器";

namespace {

// Watches the view and every widget the engine puts into it, and eats the keys the
// program keeps from pages before the page or any shortcut sees them.
class CAcceleratorFilter : public QObject
{
public:
    explicit CAcceleratorFilter(QWidget* view)
        : QObject(view)
    {
        watch(view);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::ChildAdded:
            if (QObject* child = static_cast<QChildEvent*>(event)->child(); child->isWidgetType())
                watch(child);
            break;
        case QEvent::ShortcutOverride:
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (TranslateAccelerator(key->key(), key->modifiers())) {
                event->accept();
                return true;
            }
            break;
        }
        default:
            break;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void watch(QObject* object)
    {
        object->installEventFilter(this);
        for (QObject* child : object->children()) {
            if (child->isWidgetType())
                watch(child);
        }
    }
};

} // namespace

CCustomControlSite::CCustomControlSite(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent)
{
    QWebEngineScript external;
    external.setName(QStringLiteral("lorvane-external"));
    external.setSourceCode(CExternalDispatch::PageScript());
    external.setInjectionPoint(QWebEngineScript::DocumentCreation);
    external.setWorldId(QWebEngineScript::MainWorld);
    external.setRunsOnSubFrames(true);
    scripts().insert(external);
}

void CCustomControlSite::HostView(QWebEngineView* view)
{
    new CAcceleratorFilter(view);
}

void CCustomControlSite::javaScriptAlert(const QUrl&, const QString& msg)
{
    showMessage(QWebEngineView::forPage(this), msg, QString::fromUtf8(kScriptBoxCaption), MsgIcon::Warning);
}

bool CCustomControlSite::javaScriptConfirm(const QUrl&, const QString& msg)
{
    return showMessage(QWebEngineView::forPage(this), msg, QString::fromUtf8(kScriptBoxCaption),
                       MsgIcon::Question, MsgButtons::OkCancel)
        == MsgResult::Ok;
}

bool CCustomControlSite::javaScriptPrompt(const QUrl&, const QString& msg, const QString& defaultValue,
                                          QString* result)
{
    QString value = defaultValue;
    if (showPrompt(QWebEngineView::forPage(this), msg, QString::fromUtf8(kScriptBoxCaption), &value)
        != MsgResult::Ok)
        return false;
    *result = value;
    return true;
}
