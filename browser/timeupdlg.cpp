#include "timeupdlg.h"

#include "browserconfig.h"
#include "configmanager.h"
#include "dialogskin.h"
#include "messagebox.h"
#include "timelimit.h"

#include <pellora/coolbutton.h>
#include <pellora/cooledit.h>

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QRegularExpressionValidator>

using Pellora::CCoolButton;
using Pellora::CCoolEdit;

CTimeUpDlg::CTimeUpDlg(QWidget* parent)
    : CCoolDialog(parent)
    , m_pUnlockButton(new CCoolButton(QStringLiteral("解除锁定"), this))
    , m_pMinutesEdit(new CCoolEdit(this))
    , m_pPasswordEdit(new CCoolEdit(this))
{
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_pPasswordEdit->setEchoMode(QLineEdit::Password);
    m_pMinutesEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")), this));
    m_pUnlockButton->setAutoDefault(false);

    auto* notice = new QLabel(
        QStringLiteral("时间已到，如果想继续上网，请输入父母密码，进行延长时间，否则该锁定将无法解除。"), this);
    notice->setWordWrap(true);
    auto* grid = new QGridLayout(this);
    grid->addWidget(notice, 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("密码:"), this), 1, 0);
    grid->addWidget(m_pPasswordEdit, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("继续上网时间:"), this), 2, 0);
    grid->addWidget(m_pMinutesEdit, 2, 1);
    grid->addWidget(new QLabel(QStringLiteral("分钟"), this), 2, 2);
    grid->addWidget(m_pUnlockButton, 3, 1, 1, 2, Qt::AlignRight);
    resize(380, 230);

    DialogSkin::ApplyTo(this);
    DialogSkin::ApplyTo(m_pPasswordEdit);
    DialogSkin::ApplyTo(m_pMinutesEdit);
    DialogSkin::ApplyTo(m_pUnlockButton);
    connect(m_pUnlockButton, &CCoolButton::clicked, this, &CTimeUpDlg::OnUnlock);
    m_pPasswordEdit->setFocus();
}

void CTimeUpDlg::OnUnlock()
{
    int minutes = 0;
    const TimeLimit::Refusal refusal = TimeLimit::CheckUnlock(m_pPasswordEdit->text(), BrowserConfig().m_record,
                                                                m_pMinutesEdit->text(), &minutes);
    if (!refusal.text.isEmpty()) {
        showMessage(this, refusal.text, refusal.caption, MsgIcon::Error);
        return;
    }
    m_nExtensionMinutes = minutes;
    accept();
}

void CTimeUpDlg::reject()
{
    // Escape and every other way of cancelling: the lock stays.
}

void CTimeUpDlg::keyPressEvent(QKeyEvent* event)
{
    const bool altF4 = event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier);
    const bool swallowed = altF4 || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter
        || event->key() == Qt::Key_Escape;
    if (swallowed) {
        event->accept();
        return;
    }
    CCoolDialog::keyPressEvent(event);
}

void CTimeUpDlg::closeEvent(QCloseEvent* event)
{
    if (result() != QDialog::Accepted)
        event->ignore();
}
