#include "passwordpropertypage.h"

#include "configmanager.h"
#include "managerids.h"
#include "messagebox.h"
#include "pagecontrols.h"
#include "passwordcheck.h"
#include "settingsrules.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>
#include <quenlit/label.h>

using Quenlit::CFlatEdit;

CPasswordPropertyPage::CPasswordPropertyPage(CConfigManager& config, QWidget* parent)
    : CPanelPage(ManagerId::kPasswordPage, parent)
    , m_config(config)
{
    m_labelHeading = AddPageHeading(this, QStringLiteral("设置家长密码"), QRect(24, 14, 400, 40));
    AddPageRule(this, QRect(24, 60, 632, 1), QColor(230, 232, 233));

    auto row = [this](const QString& label, int y) {
        AddPageText(this, label, QRect(48, y, 130, 28), Qt::AlignRight | Qt::AlignVCenter);
        return AddPageEdit(this, QRect(186, y, 260, 28), true);
    };
    m_editCurrent = row(QStringLiteral("请输入原始密码:"), 90);
    m_editNew = row(QStringLiteral("请输入新的密码:"), 134);
    m_editAgain = row(QStringLiteral("请再输入新密码:"), 178);
    AddPageNote(this,
                QStringLiteral("新密码在下次登陆管理界面时生效，孩子的浏览器在下次启动后使用新密码解除锁定和退出。"),
                QRect(48, 226, 600, 40));

    AddPageRule(this, QRect(24, 420, 632, 1));
    m_btnChange = AddPageButton(this, QStringLiteral("确认修改"), QRect(560, 436, 96, 30));
    connect(m_btnChange, &QAbstractButton::clicked, this, &CPasswordPropertyPage::OnChangePassword);
}

CPasswordPropertyPage::~CPasswordPropertyPage() = default;

bool CPasswordPropertyPage::OnChangePassword()
{
    const QString current = m_editCurrent->text();
    const QString next = m_editNew->text();
    const QString error = QStringLiteral("错误");
    auto refuseAt = [](CFlatEdit* edit) {
        edit->setFocus();
        edit->selectAll();
    };
    switch (CheckPasswordChange(current, next, m_editAgain->text(), m_config.m_record)) {
    case PasswordChange::EmptyCurrent:
        showMessage(this, QStringLiteral("原始密码不能为空!"), error, MsgIcon::Error);
        return false;
    case PasswordChange::WrongCurrent:
        showMessage(this, QStringLiteral("原始密码不正确!"), error, MsgIcon::Error);
        refuseAt(m_editCurrent);
        return false;
    case PasswordChange::EmptyNew:
        showMessage(this, QStringLiteral("新密码不能为空!"), error, MsgIcon::Error);
        return false;
    case PasswordChange::Mismatch:
        showMessage(this, QStringLiteral("两次输入的密码不一致!"), error, MsgIcon::Error);
        refuseAt(m_editAgain);
        return false;
    case PasswordChange::Accepted: break;
    }

    const ConfigRecord before = m_config.m_record;
    StorePassword(m_config.m_record, next);
    // Nothing typed stays behind for the next person at the keyboard to see or reuse.
    return SaveConfigAndConfirm(m_config, before, this, QStringLiteral("修改密码成功!"), QStringLiteral("提醒"), [this] {
        m_editCurrent->clear();
        m_editNew->clear();
        m_editAgain->clear();
    });
}
