#include "timecontrolpropertypage.h"

#include "configmanager.h"
#include "managerids.h"
#include "messagebox.h"
#include "pagecontrols.h"
#include "settingsrules.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>
#include <quenlit/label.h>
#include <quenlit/radiobox.h>

using Quenlit::CRadioBox;

CTimeControlPropertyPage::CTimeControlPropertyPage(CConfigManager& config, QWidget* parent)
    : CPanelPage(ManagerId::kTimeControlPage, parent)
    , m_config(config)
{
    m_labelHeading = AddPageHeading(this, QStringLiteral("时间限制:"), QRect(24, 14, 400, 40));
    AddPageRule(this, QRect(24, 60, 632, 1), QColor(230, 232, 233));

    AddPageText(this, QStringLiteral("每天上网时间:"), QRect(48, 90, 110, 26));
    m_radioLimit = new CRadioBox(QStringLiteral("限制"), this);
    CRadioBox::SetGroupStart(m_radioLimit);
    m_radioLimit->setGeometry(162, 90, 70, 26);
    m_radioNoLimit = new CRadioBox(QStringLiteral("不限制"), this);
    m_radioNoLimit->setGeometry(236, 90, 84, 26);
    m_editMinutes = AddPageEdit(this, QRect(324, 90, 80, 26));
    // The two radio boxes make a group of their own.
    CRadioBox::SetGroupStart(m_editMinutes);
    AddPageText(this, QStringLiteral("分钟"), QRect(410, 90, 60, 26));
    AddPageNote(this,
                QStringLiteral("限制时每天可以上网%1到%2分钟。时间用完后浏览器会锁定，要输入家长密码才能继续。")
                    .arg(kMinLimitMinutes)
                    .arg(kMaxLimitMinutes),
                QRect(48, 132, 600, 40));

    AddPageNote(this, QStringLiteral("提示: 设置保存后，孩子下次启动浏览器时生效。"), QRect(24, 390, 632, 20));
    AddPageRule(this, QRect(24, 420, 632, 1));
    m_btnSave = AddPageButton(this, QStringLiteral("保存"), QRect(452, 436, 96, 30));
    m_btnDefaults = AddPageButton(this, QStringLiteral("默认设置"), QRect(560, 436, 96, 30));

    connect(m_radioLimit, &CRadioBox::CheckChanged, this, &CTimeControlPropertyPage::OnRadioCheckChanged);
    connect(m_radioNoLimit, &CRadioBox::CheckChanged, this, &CTimeControlPropertyPage::OnRadioCheckChanged);
    connect(m_btnSave, &QAbstractButton::clicked, this, &CTimeControlPropertyPage::OnSave);
    connect(m_btnDefaults, &QAbstractButton::clicked, this, &CTimeControlPropertyPage::OnDefaults);

    FillFromConfig();
}

CTimeControlPropertyPage::~CTimeControlPropertyPage() = default;

void CTimeControlPropertyPage::FillFromConfig()
{
    const bool limited = m_config.m_record.m_bLimitTime != 0;
    m_radioLimit->SetCheck(limited ? 1 : 0);
    m_radioNoLimit->SetCheck(limited ? 0 : 1);
    m_editMinutes->setEnabled(limited);
    m_editMinutes->setText(QString::number(m_config.m_record.m_nLimitMinutes));
}

void CTimeControlPropertyPage::OnRadioCheckChanged()
{
    m_editMinutes->setEnabled(m_radioLimit->GetCheck() != 0);
}

bool CTimeControlPropertyPage::OnSave()
{
    const ConfigRecord before = m_config.m_record;
    if (ApplyTimeLimit(m_config.m_record, m_radioLimit->GetCheck() != 0, m_editMinutes->text())
        == TimeLimitSave::MinutesOutOfRange) {
        showMessage(this,
                    QStringLiteral("每天上网时间必须是%1-%2分钟之间!").arg(kMinLimitMinutes).arg(kMaxLimitMinutes),
                    QStringLiteral("错误"), MsgIcon::Error);
        m_editMinutes->setFocus();
        m_editMinutes->selectAll();
        return false;
    }
    // The page then shows the number as stored ("90分钟" became 90), which is what the browser will use.
    return SaveConfigAndConfirm(m_config, before, this, QStringLiteral("保存成功!"), QStringLiteral("恭喜"),
                                [this] { FillFromConfig(); });
}

bool CTimeControlPropertyPage::OnDefaults()
{
    const ConfigRecord before = m_config.m_record;
    ApplyTimeLimitDefaults(m_config.m_record);
    return SaveConfigAndConfirm(m_config, before, this, QStringLiteral("恢复默认设置成功!"), QStringLiteral("提醒"),
                                [this] { FillFromConfig(); });
}
