#include "managerapp.h"

#include "controlpaneldlg.h"
#include "logindlg.h"
#include "managerlog.h"
#include "messagebox.h"
#include "paths.h"
#include "setpassworddlg.h"
#include "translations.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

const char kDamagedConfigMessage[] = "家长设置文件已损坏，无法读取，请重新设置家长密码和各项设置。";

CManagerApp::CManagerApp() = default;

CManagerApp::~CManagerApp() = default;

QString CManagerApp::SingleInstanceLockPath()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QLatin1Char('/') + QLatin1String(kMutexName) + QStringLiteral(".lock");
}

void CManagerApp::PrepareProcess()
{
    // The snapshot dialogs embed a web view, which needs shared GL contexts from the start.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    RequestEngineLanguage();
}

void CManagerApp::SetModalRunner(ModalRunner runner)
{
    m_runner = std::move(runner);
}

int CManagerApp::runModal(QDialog& dialog)
{
    return m_runner ? m_runner(dialog) : dialog.exec();
}

bool CManagerApp::acquireSingleInstance()
{
    m_instanceLock = std::make_unique<QLockFile>(SingleInstanceLockPath());
    // Only a lock whose owner has died counts as stale, however long the first copy runs.
    m_instanceLock->setStaleLockTime(0);
    if (m_instanceLock->tryLock(0))
        return true;
    if (m_instanceLock->error() == QLockFile::LockFailedError)
        return false;
    // A runtime folder that cannot be written must not keep the parents out.
    qCWarning(lcManager, "cannot create the single-copy lock %s; going on without it",
              qPrintable(QDir::toNativeSeparators(SingleInstanceLockPath())));
    return true;
}

bool CManagerApp::InitInstance()
{
    if (!acquireSingleInstance()) {
        showMessage(nullptr, QStringLiteral("程序已运行!"), QStringLiteral("提醒"), MsgIcon::Information);
        return false;
    }

    // Every dialog of the program: white ground, black text.
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        QPalette pal = QApplication::palette();
        pal.setColor(QPalette::Window, Qt::white);
        pal.setColor(QPalette::WindowText, Qt::black);
        QApplication::setPalette(pal);
    }

    try {
        m_config.SetConfigPathName(GetConfigerPathName().toUtf8().constData());
        m_config.LoadConfigFromFile();
    } catch (const CConfigPathException& e) {
        // Without a usable path nothing the parent sets could be kept.
        showMessage(nullptr, QString::fromUtf8(e.what()), QStringLiteral("错误"), MsgIcon::Error);
        return false;
    }
    if (m_config.LoadedFrom() == ConfigSource::Damaged) {
        // The record holds the installer defaults and no password now: the parent starts
        // over, and should know why the first-password dialog is back.
        showMessage(nullptr, QString::fromUtf8(kDamagedConfigMessage), QStringLiteral("提醒"),
                    MsgIcon::Information);
    }

    switch (ChooseStartDialog(m_config.m_record)) {
    case StartDialog::SetPassword: {
        CSetPasswordDlg dlg(m_config);
        if (runModal(dlg) != QDialog::Accepted)
            return false;
        break;
    }
    case StartDialog::Login: {
        CLoginDlg dlg(m_config);
        if (runModal(dlg) != QDialog::Accepted)
            return false;
        break;
    }
    case StartDialog::ControlPanel: break;
    }

    CControlPanelDlg panel(m_config);
    runModal(panel);
    return false;
}
