#pragma once

#include "configmanager.h"
#include "passwordcheck.h"

#include <QString>

#include <functional>
#include <memory>

class QDialog;
class QLockFile;

// Told before the first-password dialog when the stored settings could not be read.
extern const char kDamagedConfigMessage[];

// The control panel program: a single copy, the configuration, the first password or the
// login, then the control panel as a modal dialog. All of it happens in InitInstance.
class CManagerApp
{
public:
    CManagerApp();
    ~CManagerApp();
    CManagerApp(const CManagerApp&) = delete;
    CManagerApp& operator=(const CManagerApp&) = delete;

    static constexpr char kMutexName[] = "LORVANE_PARENT_CTRL_0_11";
    // The lock that keeps a second copy from starting, in the user's runtime folder.
    static QString SingleInstanceLockPath();
    // What must be set before the application object exists.
    static void PrepareProcess();

    // Runs the whole program; it always returns false (there is no loop of its own).
    bool InitInstance();

    // Tests replace how a modal dialog is run; the result is a QDialog::DialogCode.
    using ModalRunner = std::function<int(QDialog& dialog)>;
    void SetModalRunner(ModalRunner runner);

    CConfigManager m_config;

private:
    bool acquireSingleInstance();
    int runModal(QDialog& dialog);

    std::unique_ptr<QLockFile> m_instanceLock;
    ModalRunner m_runner;
};
