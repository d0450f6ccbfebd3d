#include "logindlg.h"

#include "configmanager.h"
#include "managerart.h"
#include "messagebox.h"
#include "parentpassword.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatedit.h>

#include <QKeyEvent>
#include <QLabel>

using Quenlit::CBeautifulDialog;
using Quenlit::CCoolButton;
using Quenlit::CCoolGroupBox;
using Quenlit::CFlatEdit;

CLoginDlg::CLoginDlg(CConfigManager& config, QWidget* pParent)
    : CBeautifulDialog(pParent)
    , m_config(config)
{
    SetWindowTextA(QStringLiteral("登陆"));
    SetIcon(ManagerIcon(), true);
    SetClientSize(QSize(330, 152));

    auto* group = new CCoolGroupBox(this);
    group->SetText(QStringLiteral("请输入你的密码登陆:")).SetBorderColor(kManagerGroupBorder);
    PlaceInClient(group, QRect(14, 12, 302, 82));

    auto* label = new QLabel(QStringLiteral("密码:"), this);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PlaceInClient(label, QRect(28, 48, 52, 24));
    m_editPassword = new CFlatEdit(this);
    m_editPassword->setEchoMode(QLineEdit::Password);
    PlaceInClient(m_editPassword, QRect(88, 48, 204, 24));

    m_btnLogin = new CCoolButton(QStringLiteral("登陆"), this);
    m_btnLogin->setDefault(true);
    PlaceInClient(m_btnLogin, QRect(130, 108, 84, 28));
    m_btnCancel = new CCoolButton(QStringLiteral("取消"), this);
    PlaceInClient(m_btnCancel, QRect(232, 108, 84, 28));

    connect(m_btnLogin, &QAbstractButton::clicked, this, &CLoginDlg::OnBnClickedLogin);
    connect(m_btnCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    m_editPassword->setFocus();
}

CLoginDlg::~CLoginDlg() = default;

void CLoginDlg::OnBnClickedLogin()
{
    switch (CheckParentPassword(m_editPassword->text(), m_config.m_record)) {
    case PasswordCheck::Empty:
        showMessage(this, QStringLiteral("密码不能为空!"), QStringLiteral("错误:"), MsgIcon::Error);
        return;
    case PasswordCheck::Wrong:
        showMessage(this, QStringLiteral("密码不对,请仔细输入或者看有没有大写锁定!"), QStringLiteral("错误"),
                    MsgIcon::Error);
        return;
    case PasswordCheck::Accepted: accept(); return;
    }
}

void CLoginDlg::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        OnBnClickedLogin();
        return;
    case Qt::Key_Escape:
        event->accept();
        reject();
        return;
    default: CBeautifulDialog::keyPressEvent(event);
    }
}
