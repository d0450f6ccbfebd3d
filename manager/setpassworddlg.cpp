#include "setpassworddlg.h"

#include "configmanager.h"
#include "managerart.h"
#include "messagebox.h"
#include "passwordcheck.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatedit.h>

#include <QKeyEvent>
#include <QLabel>

using Quenlit::CBeautifulDialog;
using Quenlit::CCoolButton;
using Quenlit::CCoolGroupBox;
using Quenlit::CFlatEdit;

CSetPasswordDlg::CSetPasswordDlg(CConfigManager& config, QWidget* pParent)
    : CBeautifulDialog(pParent)
    , m_config(config)
{
    SetWindowTextA(QStringLiteral("请设置父母的管理密码:"));
    SetIcon(ManagerIcon(), true);
    SetClientSize(QSize(400, 250));

    auto* intro = new QLabel(QStringLiteral("你还没设置父母的控制密码，请输入父母的控制密码。注意：该密码是以后你管理孩子上网"
                                            "推荐等的必须密码，请一定牢记。"),
                             this);
    intro->setWordWrap(true);
    intro->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PlaceInClient(intro, QRect(18, 14, 364, 56));

    auto* group = new CCoolGroupBox(this);
    group->SetText(QStringLiteral("密码设置区:")).SetBorderColor(kManagerGroupBorder);
    PlaceInClient(group, QRect(16, 74, 368, 110));

    auto passwordRow = [this](const QString& text, int y) {
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        PlaceInClient(label, QRect(30, y, 96, 24));
        auto* edit = new CFlatEdit(this);
        edit->setEchoMode(QLineEdit::Password);
        PlaceInClient(edit, QRect(134, y, 220, 24));
        return edit;
    };
    m_editPassword = passwordRow(QStringLiteral("输入密码:"), 104);
    m_editPasswordAgain = passwordRow(QStringLiteral("再次输入密码:"), 142);

    m_btnOk = new CCoolButton(QStringLiteral("确定"), this);
    PlaceInClient(m_btnOk, QRect(196, 204, 84, 28));
    m_btnCancel = new CCoolButton(QStringLiteral("取消"), this);
    PlaceInClient(m_btnCancel, QRect(298, 204, 84, 28));

    connect(m_btnOk, &QAbstractButton::clicked, this, &CSetPasswordDlg::OnBnClickedOk);
    connect(m_btnCancel, &QAbstractButton::clicked, this, &QDialog::reject);
    m_editPassword->setFocus();
}

CSetPasswordDlg::~CSetPasswordDlg() = default;

void CSetPasswordDlg::OnBnClickedOk()
{
    const QString first = m_editPassword->text();
    const QString second = m_editPasswordAgain->text();
    switch (CheckFirstPassword(first, second)) {
    case FirstPasswordCheck::EmptyFirst:
        showMessage(this, QStringLiteral("密码不能为空!"), QStringLiteral("错误:"), MsgIcon::Error);
        return;
    case FirstPasswordCheck::Mismatch:
        showMessage(this, QStringLiteral("两次密码不相同!"), QStringLiteral("错误:"), MsgIcon::Error);
        return;
    case FirstPasswordCheck::Accepted: break;
    }

    const ConfigRecord before = m_config.m_record;
    StorePassword(m_config.m_record, first);
    if (!m_config.SaveConfigToFile()) {
        // Claiming success would leave the parent without the password on the next start.
        m_config.m_record = before;
        showMessage(this, QStringLiteral("密码保存失败,请检查配置文件能否写入!"), QStringLiteral("错误:"), MsgIcon::Error);
        return;
    }
    const MsgResult answer = showMessage(this, QStringLiteral("设置密码成功,是否立刻启动管理后台?"),
                                         QStringLiteral("询问"), MsgIcon::Question, MsgButtons::YesNo);
    if (answer == MsgResult::Yes)
        accept();
    else
        reject();
}

void CSetPasswordDlg::keyPressEvent(QKeyEvent* event)
{
    // Neither Enter nor Escape may end the dialog by accident.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape: event->accept(); return;
    default: CBeautifulDialog::keyPressEvent(event);
    }
}
