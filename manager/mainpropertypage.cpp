#include "mainpropertypage.h"

#include "configmanager.h"
#include "historyrules.h"
#include "managerart.h"
#include "managerdata.h"
#include "managerids.h"
#include "managerlog.h"
#include "messagebox.h"
#include "pagecontrols.h"
#include "settingsrules.h"

#include <quenlit/coolbutton.h>
#include <quenlit/coolgroupbox.h>
#include <quenlit/flatcheckbox.h>
#include <quenlit/flatedit.h>
#include <quenlit/label.h>

#include <exception>
#include <limits>

using Quenlit::CCoolGroupBox;
using Quenlit::CFlatCheckBox;

namespace {

CFlatCheckBox* addCheck(QWidget* page, const QString& text, const QRect& rect)
{
    auto* check = new CFlatCheckBox(text, page);
    check->setGeometry(rect);
    return check;
}

// Every recommended site's address; false (and logged) when they cannot be read.
bool readSiteUrls(QStringList& urls)
{
    const int pageSize = ManagerData::PageSize();
    bool read = true;
    try {
        ManagerData::SetPageSize(std::numeric_limits<int>::max() / 2);
        QList<SiteRecord> sites;
        ManagerData::GetSitePage(1, sites);
        for (const SiteRecord& site : sites)
            urls << site.m_strSiteUrl;
    } catch (const std::exception& e) {
        qCWarning(lcGeneralPage, "the recommended sites cannot be read to check the home page: %s", e.what());
        read = false;
    }
    // The sites page reads its own pages with this size.
    ManagerData::SetPageSize(pageSize);
    return read;
}

} // namespace

CMainPropertyPage::CMainPropertyPage(CConfigManager& config, QWidget* parent)
    : CPanelPage(ManagerId::kMainPage, parent)
    , m_config(config)
{
    m_labelHeading = AddPageHeading(this, QStringLiteral("常规设置:"), QRect(24, 14, 400, 40));
    AddPageRule(this, QRect(24, 60, 632, 1), QColor(230, 232, 233));

    m_checkOnlyChildSites = addCheck(this, QStringLiteral("仅访问儿童网站"), QRect(48, 84, 400, 24));
    m_checkExitNeedPassword = addCheck(this, QStringLiteral("退出时需要输入家长密码"), QRect(48, 120, 400, 24));
    m_checkLoginBeforeManage = addCheck(this, QStringLiteral("登陆管理界面需要先登陆"), QRect(48, 156, 400, 24));

    // The frame comes first so that the controls it frames lie above it.
    m_frameHomePage = new CCoolGroupBox(this);
    m_frameHomePage->setGeometry(36, 200, 608, 100);
    m_checkOwnHomePage = addCheck(this, QStringLiteral("使用自己设置的主页"), QRect(52, 214, 400, 24));
    m_editHomePage = AddPageEdit(this, QRect(52, 252, 576, 28));

    AddPageNote(this, QStringLiteral("提示: 设置保存后，孩子下次启动浏览器时生效。"), QRect(24, 390, 632, 20));
    AddPageRule(this, QRect(24, 420, 632, 1));
    m_btnSave = AddPageButton(this, QStringLiteral("保存"), QRect(452, 436, 96, 30));
    m_btnDefaults = AddPageButton(this, QStringLiteral("默认设置"), QRect(560, 436, 96, 30));

    connect(m_checkOwnHomePage, &CFlatCheckBox::CheckChanged, this, &CMainPropertyPage::OnOwnHomePageChanged);
    connect(m_btnSave, &QAbstractButton::clicked, this, &CMainPropertyPage::OnSave);
    connect(m_btnDefaults, &QAbstractButton::clicked, this, &CMainPropertyPage::OnDefaults);

    FillFromConfig();
}

CMainPropertyPage::~CMainPropertyPage() = default;

QColor CMainPropertyPage::HomePageFrameColor(bool editable) const
{
    // The pages' window text is black in every state; the system's grey for disabled text is
    // what the text colour of a disabled control keeps.
    return editable ? kManagerGroupBorder : palette().color(QPalette::Disabled, QPalette::Text);
}

GeneralSettings CMainPropertyPage::ShownSettings() const
{
    GeneralSettings s;
    s.onlyChildSites = m_checkOnlyChildSites->GetCheck() != 0;
    s.exitNeedPassword = m_checkExitNeedPassword->GetCheck() != 0;
    s.loginBeforeManage = m_checkLoginBeforeManage->GetCheck() != 0;
    s.useOwnHomePage = m_checkOwnHomePage->GetCheck() != 0;
    s.homePage = m_editHomePage->text();
    return s;
}

bool CMainPropertyPage::HasUnsavedChanges() const
{
    return GeneralSettingsDiffer(m_config.m_record, ShownSettings());
}

QStringList CMainPropertyPage::SavedSettingsNotes() const
{
    QStringList notes;
    if (m_config.m_record.m_bOnlyChildSites != 0) {
        QStringList sites;
        if (readSiteUrls(sites)) {
            switch (CheckChildSitesCoverage(m_config.m_record, sites)) {
            case ChildSitesCoverage::NoSites:
                notes << QStringLiteral("“仅访问儿童网站”已经打开,但还没有推荐任何网站,孩子打开的每个网页都只会显示拦截页面。"
                                        "请在“家长推荐”页添加网站。");
                break;
            case ChildSitesCoverage::HomePageNotCovered:
                notes << QStringLiteral("“仅访问儿童网站”已经打开,但主页 %1 不在推荐的网站里,浏览器启动后只会显示拦截页面。"
                                        "请把它加入“家长推荐”,或者换一个主页。")
                             .arg(VisibleAddressText(GeneralSettingsOf(m_config.m_record).homePage));
                break;
            case ChildSitesCoverage::NotRestricted:
            case ChildSitesCoverage::Covered: break;
            }
        }
    }
    if (m_config.m_record.m_bLoginBeforeManage == 0)
        notes << QStringLiteral("“登陆管理界面需要先登陆”没有打开,这台电脑前的任何人都能打开家长管理控制面板,不用输入密码。");
    return notes;
}

void CMainPropertyPage::FillFromConfig()
{
    const GeneralSettings s = GeneralSettingsOf(m_config.m_record);
    m_checkOnlyChildSites->SetCheck(s.onlyChildSites);
    m_checkExitNeedPassword->SetCheck(s.exitNeedPassword);
    m_checkLoginBeforeManage->SetCheck(s.loginBeforeManage);
    m_checkOwnHomePage->SetCheck(s.useOwnHomePage);
    m_editHomePage->setText(s.homePage);
    m_editHomePage->setCursorPosition(0);
    OnOwnHomePageChanged(s.useOwnHomePage);
    update();
}

void CMainPropertyPage::OnOwnHomePageChanged(bool checked)
{
    m_editHomePage->setEnabled(checked);
    m_frameHomePage->SetBorderColor(HomePageFrameColor(checked));
}

bool CMainPropertyPage::OnSave()
{
    const GeneralSettings s = ShownSettings();

    const ConfigRecord before = m_config.m_record;
    const QString error = QStringLiteral("错误");
    switch (ApplyGeneralSettings(m_config.m_record, s)) {
    case GeneralSave::EmptyHomePage:
        showMessage(this, QStringLiteral("错误:请输入主页的地址"), error, MsgIcon::Error);
        m_editHomePage->setFocus();
        return false;
    case GeneralSave::HomePageTooLong:
        showMessage(this,
                    QStringLiteral("错误:主页的地址太长了,最多只能保存%1个字节,现在有%2个字节!")
                        .arg(kHomePageMaxBytes)
                        .arg(s.homePage.trimmed().toUtf8().size()),
                    error, MsgIcon::Error);
        m_editHomePage->setFocus();
        return false;
    case GeneralSave::HomePageControlCharacter:
        showMessage(this, QStringLiteral("错误:主页的地址里不能有换行、制表符等控制字符!"), error, MsgIcon::Error);
        m_editHomePage->setFocus();
        return false;
    case GeneralSave::Write: break;
    }
    // The page then shows what was stored: the trimmed address, or the kept one when the own home page is off.
    if (!SaveConfigAndConfirm(m_config, before, this, QStringLiteral("保存配置成功!"), QStringLiteral("提醒"),
                              [this] { FillFromConfig(); }))
        return false;
    // Saved as asked; the parent hears what the settings will do for the child.
    const QStringList notes = SavedSettingsNotes();
    if (!notes.isEmpty())
        showMessage(this, notes.join(QStringLiteral("\n\n")), QStringLiteral("提醒"), MsgIcon::Warning);
    return true;
}

bool CMainPropertyPage::OnDefaults()
{
    const ConfigRecord before = m_config.m_record;
    ApplyGeneralDefaults(m_config.m_record);
    return SaveConfigAndConfirm(m_config, before, this, QStringLiteral("恢复默认设置成功!"), QStringLiteral("提醒"),
                                [this] { FillFromConfig(); });
}
