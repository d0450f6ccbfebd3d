#include "controltoolbar.h"

#include "browserdata.h"
#include "browserids.h"
#include "browserlog.h"
#include "coolpngbutton.h"
#include "paths.h"
#include "skinfiles.h"

#include <pellora/coolcombobox.h>
#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QCompleter>
#include <QEvent>
#include <QLineEdit>
#include <QPainter>
#include <QStringListModel>
#include <QUrl>

using Pellora::CCoolComoBox;
using Pellora::CSurfaceManager;
using Pellora::DrawTiledAcross;
using Pellora::LoadSkinBitmap;

namespace {

struct ButtonSpec {
    int id;                       // the command the button reports
    QRect ToolBarGeometry::*slot; // where the layout puts it
    const char* text;
    const char* normal;
    const char* hover;
    const char* press;
    const char* tip; // none for the close button
};

// The order in which the skin gives the buttons their pictures; m_buttons follows it.
const ButtonSpec kButtons[] = {
    {BrowserIds::kCmdHome, &ToolBarGeometry::home, "主页", "homepagenm.png", "homepagehv.png", "homepageps.png",
     "点击该按钮可以打开主页"},
    {BrowserIds::kCmdAddFavor, &ToolBarGeometry::favorites, "收藏夹", "favornm.png", "favorhover.png",
     "favorpress.png", "点击该按钮可以将本页面添加到收藏夹"},
    {BrowserIds::kCmdBack, &ToolBarGeometry::back, "后退", "backnm.png", "backhv.png", "backprs.png",
     "后退到上一个页面"},
    {BrowserIds::kCmdForward, &ToolBarGeometry::forward, "前进", "forwardnm.png", "forwardhv.png",
     "forwardpress.png", "前进到下一页面"},
    {BrowserIds::kCmdRefresh, &ToolBarGeometry::refresh, "刷新", "refreshnm.png", "refreshhv.png", "refreshpr.png",
     "刷新当前页面"},
    {BrowserIds::kCmdStop, &ToolBarGeometry::stop, "停止", "stopnm.png", "stophv.png", "stoppress.png",
     "停止当前页面的更新"},
    {BrowserIds::kCmdPrint, &ToolBarGeometry::print, "打印", "printnm.png", "printhv.png", "printpress.png",
     "打印该页面的信息"},
    {BrowserIds::kCmdSkin, &ToolBarGeometry::skin, "皮肤", "surfacenm.png", "surfacehv.png", "surfacepress.png",
     "更换皮肤"},
    {BrowserIds::kCmdClose, &ToolBarGeometry::close, "x", "closenm.png", "closehv.png", "closepress.png", nullptr},
};

constexpr int kHistoryForCompletion = 500;
constexpr QRect kLogoPlace(3, 3, 64, 64);

} // namespace

CControlToolBar::CControlToolBar(QWidget* parent)
    : QWidget(parent)
    , m_geometry(ToolBarLayout::TemplateGeometry())
    , m_pAddressBox(new CCoolComoBox(this))
    , m_pCompleter(new QCompleter(this))
    , m_pHistoryModel(new QStringListModel(this))
{
    setWindowTitle(QStringLiteral("控制工具栏"));
    for (const ButtonSpec& spec : kButtons) {
        auto* button = new CCoolPngButton(this);
        button->setText(QString::fromUtf8(spec.text));
        button->setAccessibleName(QString::fromUtf8(spec.text));
        if (spec.tip)
            button->setToolTip(QString::fromUtf8(spec.tip));
        const int id = spec.id;
        connect(button, &CCoolPngButton::clicked, this, [this, id] { emit command(id); });
        m_buttons.append(button);
    }
    m_pAddressBox->setToolTip(QStringLiteral("请在这里输入你要浏览的网址"));
    m_pAddressBox->setInsertPolicy(QComboBox::NoInsert);
    connect(m_pAddressBox, &CCoolComoBox::addressEntered, this, &CControlToolBar::addressEntered);

    // Completion from the addresses of the history, most recent first.
    m_pCompleter->setModel(m_pHistoryModel);
    m_pCompleter->setCaseSensitivity(Qt::CaseInsensitive);
    m_pCompleter->setFilterMode(Qt::MatchContains);
    m_pCompleter->setCompletionMode(QCompleter::PopupCompletion);
    if (QLineEdit* edit = m_pAddressBox->lineEdit()) {
        edit->setCompleter(m_pCompleter);
        edit->setMaxLength(32767);
        edit->installEventFilter(this);
    }

    ApplySkin();
    resize(sizeHint());
}

QSize CControlToolBar::sizeHint() const
{
    return ToolBarLayout::FromDialogUnits(0, 0, 443, 38).size();
}

QString CControlToolBar::AddressText() const
{
    return m_pAddressBox->currentText();
}

void CControlToolBar::SetAddressText(const QString& text)
{
    m_pAddressBox->setEditText(text);
}

CCoolPngButton* CControlToolBar::Button(int commandId) const
{
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        if (kButtons[i].id == commandId)
            return m_buttons.at(i);
    }
    return nullptr;
}

void CControlToolBar::ApplySkin(const QString& skinFile)
{
    if (!skinFile.isEmpty())
        CSurfaceManager::LoadFromFile(skinFile);
    m_bmpTile = LoadSkinBitmap(CSurfaceManager::m_strControlToolBkPic);
    m_bmpLogo = CCoolPngButton::LoadPicture(GetExeDirectory() + QStringLiteral("/Common/logo.png"));
    rebuildBackground();
    for (int i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->SetBackGroundBitmap(m_bmpBackground);
        m_buttons[i]->SetNormalFace(SkinFiles::CommonPicture(kButtons[i].normal));
        m_buttons[i]->SetHoverFace(SkinFiles::CommonPicture(kButtons[i].hover));
        m_buttons[i]->SetPressFace(SkinFiles::CommonPicture(kButtons[i].press));
    }
    m_pAddressBox->SetPushButtonBitmap(CSurfaceManager::m_strComboBoxPushButtonNormal,
                                       CSurfaceManager::m_strComboBoxPushButtonPress);
    m_pAddressBox->SetBackgroundBitmap(CSurfaceManager::m_strComboBoxBkLeft, CSurfaceManager::m_strComboBoxBkMiddle,
                                       CSurfaceManager::m_strComboBoxBkRight);
    m_pAddressBox->SetBackColor(CSurfaceManager::m_AddressComboBoxBkColor);
    refreshCompletion();
    update();
}

void CControlToolBar::RememberAddress(const QString& address)
{
    const QUrl url(address);
    const QString scheme = url.scheme().toLower();
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https"))
        return;
    m_visitedThisRun.removeAll(address);
    m_visitedThisRun.prepend(address);
    while (m_visitedThisRun.size() > kHistoryForCompletion)
        m_visitedThisRun.removeLast();
    // Rows are moved rather than the list reset, so an open completion list stays put.
    const QStringList rows = m_pHistoryModel->stringList();
    const int at = rows.indexOf(address);
    if (at == 0)
        return;
    if (at > 0)
        m_pHistoryModel->removeRows(at, 1);
    if (m_pHistoryModel->insertRows(0, 1))
        m_pHistoryModel->setData(m_pHistoryModel->index(0), address);
    if (m_pHistoryModel->rowCount() > kHistoryForCompletion)
        m_pHistoryModel->removeRows(kHistoryForCompletion, m_pHistoryModel->rowCount() - kHistoryForCompletion);
}

void CControlToolBar::refreshCompletion()
{
    // Completion is a help, not a duty: a database that cannot be read leaves the old
    // list, still with the pages of this run.
    QStringList addresses = m_visitedThisRun;
    try {
        for (const QString& a : BrowserData::GetRecentAddresses(kHistoryForCompletion)) {
            if (!addresses.contains(a))
                addresses.append(a);
        }
    } catch (const std::exception& e) {
        qCWarning(lcBrowser) << "address completion could not read the history:" << e.what();
        const QStringList old = m_pHistoryModel->stringList();
        for (const QString& a : old) {
            if (!addresses.contains(a))
                addresses.append(a);
        }
    }
    while (addresses.size() > kHistoryForCompletion)
        addresses.removeLast();
    if (addresses != m_pHistoryModel->stringList())
        m_pHistoryModel->setStringList(addresses);
}

void CControlToolBar::paintBackground(QPainter& painter, const QRect& area) const
{
    DrawTiledAcross(painter, area, m_bmpTile);
}

void CControlToolBar::rebuildBackground()
{
    // The buttons draw the same picture the bar paints, so their faces blend in.
    QPixmap buffer(size() + QSize(5, 5));
    buffer.fill(palette().color(QPalette::Window));
    QPainter p(&buffer);
    paintBackground(p, QRect(QPoint(0, 0), size()));
    p.end();
    m_bmpBackground = buffer;
}

void CControlToolBar::placeControls()
{
    m_geometry = ToolBarLayout::Layout(width(), m_geometry);
    for (qsizetype i = 0; i < m_buttons.size(); ++i) {
        m_buttons[i]->setGeometry(m_geometry.*kButtons[i].slot);
        m_buttons[i]->SetBackGroundBitmap(m_bmpBackground);
    }
    const QRect a = m_geometry.address;
    m_pAddressBox->setGeometry(a.left(), a.top(), a.width(), m_pAddressBox->sizeHint().height());
}

void CControlToolBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    paintBackground(p, rect());
    if (!m_bmpLogo.isNull())
        p.drawPixmap(kLogoPlace, m_bmpLogo);
}

void CControlToolBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    rebuildBackground();
    placeControls();
}

bool CControlToolBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && watched == m_pAddressBox->lineEdit())
        refreshCompletion();
    return QWidget::eventFilter(watched, event);
}
