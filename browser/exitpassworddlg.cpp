#include "exitpassworddlg.h"

#include "browserconfig.h"
#include "configmanager.h"
#include "dialogskin.h"
#include "messagebox.h"
#include "timelimit.h"

#include <pellora/coolbutton.h>
#include <pellora/cooledit.h>

#include <QBoxLayout>
#include <QKeyEvent>
#include <QLabel>

using Pellora::CCoolButton;
using Pellora::CCoolEdit;

CExitPasswordDlg::CExitPasswordDlg(QWidget* parent)
    : CCoolDialog(parent)
    , m_pCancelButton(new CCoolButton(QStringLiteral("取消"), this))
    , m_pOkButton(new CCoolButton(QStringLiteral("确定"), this))
    , m_pPasswordEdit(new CCoolEdit(this))
{
    setWindowTitle(QStringLiteral("退出前请输入家长密码:"));
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_pPasswordEdit->setEchoMode(QLineEdit::Password);
    m_pOkButton->setAutoDefault(false);
    m_pCancelButton->setAutoDefault(false);

    // The buttons sit apart from the password box, side by side at the right, at their
    // own size: pressed against the box they read as part of it.
    auto* column = new QVBoxLayout(this);
    column->addWidget(new QLabel(QStringLiteral("退出前请输入家长密码："), this));
    column->addWidget(m_pPasswordEdit);
    column->addSpacing(14);
    column->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    for (CCoolButton* b : {m_pOkButton, m_pCancelButton}) {
        b->setMinimumWidth(80);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        buttons->addWidget(b);
    }
    column->addLayout(buttons);
    resize(320, 170);

    DialogSkin::ApplyTo(this);
    DialogSkin::ApplyTo(m_pPasswordEdit);
    DialogSkin::ApplyTo(m_pCancelButton);
    DialogSkin::ApplyTo(m_pOkButton);
    connect(m_pOkButton, &CCoolButton::clicked, this, &CExitPasswordDlg::OnOK);
    connect(m_pCancelButton, &CCoolButton::clicked, this, &CExitPasswordDlg::reject);
    m_pPasswordEdit->setFocus();
}

void CExitPasswordDlg::OnOK()
{
    const TimeLimit::Refusal refusal = TimeLimit::CheckExitPassword(m_pPasswordEdit->text(), BrowserConfig().m_record);
    if (!refusal.text.isEmpty()) {
        showMessage(this, refusal.text, refusal.caption, MsgIcon::Error);
        return;
    }
    accept();
}

void CExitPasswordDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        OnOK();
        return;
    }
    CCoolDialog::keyPressEvent(event);
}
