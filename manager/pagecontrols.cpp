#include "pagecontrols.h"

#include "configmanager.h"
#include "messagebox.h"

#include <quenlit/coolbutton.h>
#include <quenlit/flatedit.h>
#include <quenlit/label.h>
#include <quenlit/separaterstatic.h>

#include <QLabel>

using Quenlit::CCoolButton;
using Quenlit::CFlatEdit;
using Quenlit::CLabel;
using Quenlit::CSeparaterStatic;

CLabel* AddPageHeading(QWidget* page, const QString& text, const QRect& rect)
{
    auto* heading = new CLabel(text, page);
    QFont font = page->font();
    font.setPointSize(20);
    heading->SetFont(font).SetFontBold(true).SetTextColor(kPageHeadingColor);
    heading->setGeometry(rect);
    return heading;
}

CSeparaterStatic* AddPageRule(QWidget* page, const QRect& rect, const QColor& color)
{
    auto* rule = new CSeparaterStatic(page);
    if (color.isValid())
        rule->SetColor(color);
    rule->setGeometry(rect);
    return rule;
}

CCoolButton* AddPageButton(QWidget* page, const QString& text, const QRect& rect)
{
    auto* button = new CCoolButton(text, page);
    button->setGeometry(rect);
    return button;
}

CFlatEdit* AddPageEdit(QWidget* page, const QRect& rect, bool password)
{
    auto* edit = new CFlatEdit(page);
    if (password)
        edit->setEchoMode(QLineEdit::Password);
    edit->setGeometry(rect);
    return edit;
}

QLabel* AddPageText(QWidget* page, const QString& text, const QRect& rect, Qt::Alignment align)
{
    auto* label = new QLabel(text, page);
    label->setAlignment(align);
    label->setGeometry(rect);
    return label;
}

QLabel* AddPageNote(QWidget* page, const QString& text, const QRect& rect)
{
    QLabel* note = AddPageText(page, text, rect);
    note->setWordWrap(true);
    QPalette pal = note->palette();
    pal.setColor(QPalette::WindowText, QColor(110, 110, 110));
    note->setPalette(pal);
    return note;
}

QString ConfigSaveFailedMessage(const CConfigManager& config)
{
    return QStringLiteral("保存配置失败!无法写入配置文件:\n%1\n设置没有保存,请检查磁盘空间和文件权限后再试。")
        .arg(QString::fromUtf8(config.m_szConfigPathName));
}

bool SaveConfigOrReport(CConfigManager& config, const ConfigRecord& before, QWidget* parent)
{
    QString failure;
    try {
        if (config.SaveConfigToFile())
            return true;
        failure = ConfigSaveFailedMessage(config);
    } catch (const CConfigPathException& e) {
        failure = QString::fromUtf8(e.what());
    }
    config.m_record = before;
    showMessage(parent, failure, QStringLiteral("错误"), MsgIcon::Error);
    return false;
}

bool SaveConfigAndConfirm(CConfigManager& config, const ConfigRecord& before, QWidget* parent, const QString& success,
                          const QString& caption, const std::function<void()>& refill)
{
    if (!SaveConfigOrReport(config, before, parent))
        return false;
    if (refill)
        refill();
    showMessage(parent, success, caption, MsgIcon::Information);
    return true;
}
