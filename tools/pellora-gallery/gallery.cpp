#include "gallery.h"

#include "inioperater.h"

#include <pellora/colorref.h>
#include <pellora/controlbutton.h>
#include <pellora/coolbar.h>
#include <pellora/coolbutton.h>
#include <pellora/coolcombobox.h>
#include <pellora/cooldialog.h>
#include <pellora/cooledit.h>
#include <pellora/coolstatusbar.h>
#include <pellora/cooltabbar.h>
#include <pellora/cooltabctrl.h>
#include <pellora/cooltreectrl.h>
#include <pellora/painter.h>
#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QAbstractItemView>
#include <QCoreApplication>
#include <QEnterEvent>
#include <QLabel>
#include <QListView>
#include <QMainWindow>
#include <QPainterPath>
#include <QMouseEvent>
#include <QPainter>
#include <QStringListModel>

#include <cmath>

// The gallery shows every control of the library.
using namespace Pellora;
using SM = CSurfaceManager;

namespace {

const QStringList kCaptions{QStringLiteral("首页"), QStringLiteral("儿童乐园 - 动画片大全"),
                            QStringLiteral("一个非常非常长的页面标题，放不下的部分会被省略"),
                            QStringLiteral("空白页")};

void applyTabSkin(CCoolTabBar& bar)
{
    bar.SetFrameBkPic(SM::m_strTabBackGround);
    bar.SetPrevButtonPic(SM::m_strTabPrevButtonNormal, SM::m_strTabPrevButtonMask, SM::m_strTabPrevButtonPress,
                         SM::m_strTabPrevButtonDisable);
    bar.SetForwardButtonPic(SM::m_strTabForwardButtonNormal, SM::m_strTabForwardButtonMask,
                            SM::m_strTabForwardButtonPress, SM::m_strTabForwordButtonDisable);
    bar.SetTabButtonNormalPic(SM::m_strTabButtonLeftNormal, SM::m_strTabButtonMiddleNormal,
                              SM::m_strTabButtonRightNormal);
    bar.SetTabButtonActivePic(SM::m_strTabButtonLeftActive, SM::m_strTabButtonMiddleActive,
                              SM::m_strTabButtonRightActive);
    bar.SetTabCloseButtonPic(SM::m_strTabCloseButton);
}

QImage tabBar(int width, const QStringList& captions, int active, QList<QWidget*>& pages)
{
    CCoolTabBar bar;
    bar.resize(width, 31);
    applyTabSkin(bar);
    for (const QString& caption : captions) {
        pages.append(new QWidget);
        bar.AddPage(pages.last(), caption);
    }
    if (active >= 0)
        bar.SetActivePage(active);
    return bar.grab().toImage();
}

void applyButtonSkin(CCoolButton& button)
{
    button.SetNormalBitmap(SM::m_strFaceButtonNormalLeft, SM::m_strFaceButtonNormalMiddle,
                           SM::m_strFaceButtonNormalRight);
    button.SetHoverBitmap(SM::m_strFaceButtonHoverLeft, SM::m_strFaceButtonHoverMiddle,
                          SM::m_strFaceButtonHoverRight);
    button.SetPressBitmap(SM::m_strFaceButtonPressLeft, SM::m_strFaceButtonPressMiddle,
                          SM::m_strFaceButtonPressRight);
}

void applyEditSkin(CCoolEdit& edit)
{
    edit.SetBorderWidth(12);
    edit.SetBackgroundBitmap(SM::m_strComboBoxBkLeft, SM::m_strComboBoxBkMiddle, SM::m_strComboBoxBkRight);
    edit.SetBackColor(SM::m_AddFavorDlgBkColor);
    edit.SetMinHeight(20);
}

void applyComboSkin(CCoolComoBox& combo, unsigned long backColor)
{
    combo.SetPushButtonBitmap(SM::m_strComboBoxPushButtonNormal, SM::m_strComboBoxPushButtonPress);
    combo.SetBackgroundBitmap(SM::m_strComboBoxBkLeft, SM::m_strComboBoxBkMiddle, SM::m_strComboBoxBkRight);
    combo.SetBackColor(backColor);
}

QImage hovered(CCoolButton& button)
{
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QCoreApplication::sendEvent(&button, &enter);
    return button.grab().toImage();
}

// A dialog the way the browser's exit-password dialog is built.
QImage dialog(QImage* buttonFaces)
{
    CCoolDialog dlg;
    dlg.resize(380, 200);
    dlg.SetBackColor(SM::m_AddFavorDlgBkColor);
    dlg.SetDialogBorderLeft(SM::m_strFaceDialogBorderLeft);
    dlg.SetDialogBorderRight(SM::m_strFaceDialogBorderRight);
    dlg.SetBmpTitleBitmap(SM::m_strFaceDialogTitleLeft, SM::m_strFaceDialogTitleMiddle,
                          SM::m_strFaceDialogTitleRight);
    dlg.SetDialogBottomBorderBmp(SM::m_strFaceDialogBottomLeft, SM::m_strFaceDialogBottomMiddle,
                                 SM::m_strFaceDialogBottomRight);
    auto* label = new QLabel(QStringLiteral("退出前请输入家长密码："), &dlg);
    label->setGeometry(30, 30, 320, 24);
    auto* edit = new CCoolEdit(&dlg);
    applyEditSkin(*edit);
    edit->setEchoMode(QLineEdit::Password);
    edit->setText(QStringLiteral("secret"));
    edit->setGeometry(30, 62, 320, 40);
    auto* ok = new CCoolButton(QStringLiteral("确定"), &dlg);
    auto* cancel = new CCoolButton(QStringLiteral("取消"), &dlg);
    for (CCoolButton* b : {ok, cancel}) {
        applyButtonSkin(*b);
        b->SetBackColor(SM::m_AddFavorDlgBkColor);
    }
    ok->setGeometry(150, 130, 90, 30);
    cancel->setGeometry(260, 130, 90, 30);
    buttonFaces[0] = ok->grab().toImage();
    buttonFaces[1] = hovered(*ok);
    ok->setDown(true);
    buttonFaces[2] = ok->grab().toImage();
    ok->setDown(false);
    QEvent leaveEvent(QEvent::Leave);
    QCoreApplication::sendEvent(ok, &leaveEvent);
    return dlg.grab().toImage();
}

QImage statusBar()
{
    CCoolStatusBar bar;
    bar.resize(1300, 25);
    bar.SetBackColor(SM::m_CoolTabCtrlBkColor);
    bar.SetFontColor(SM::m_StatusTextColor);
    bar.ShowProgress();
    bar.SetProgressMax(100);
    bar.SetProgressMin(0);
    bar.SetProgressPos(40);
    return bar.grab().toImage();
}

QImage comboBox(bool pressed)
{
    CCoolComoBox combo;
    applyComboSkin(combo, SM::m_AddressComboBoxBkColor);
    combo.resize(420, 32);
    combo.setEditText(QStringLiteral("http://www.lorvane.example/kids/index.html"));
    if (pressed) {
        // An empty box shows the pressed look without opening a list.
        const QPointF at = QRectF(combo.GetPushButtonRect()).center();
        QMouseEvent press(QEvent::MouseButtonPress, at, combo.mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&combo, &press);
    }
    return combo.grab().toImage();
}

QImage comboList()
{
    CCoolComoBox combo;
    applyComboSkin(combo, SM::m_AddressComboBoxBkColor);
    combo.resize(420, 32);
    combo.addItems({QStringLiteral("http://www.lorvane.example/"), QStringLiteral("http://kids.lorvane.example/动画"),
                    QStringLiteral("http://games.lorvane.example/拼图游戏"),
                    QStringLiteral("http://music.lorvane.example/儿歌")});
    // The open list as the box's popup shows it: its rows drawn by the box's delegate.
    QListView view;
    view.setModel(combo.model());
    view.setItemDelegate(combo.itemDelegate());
    view.setFont(combo.view()->font());
    view.setFrameShape(QFrame::Box);
    view.resize(420, 4 * CCoolComoBox::kItemHeight + 2);
    view.setCurrentIndex(combo.model()->index(1, 0));
    return view.grab().toImage();
}

QImage controlButtons()
{
    QImage sheet(5 * 110 + 10, 60, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(ColorRefToQColor(SM::m_AddFavorDlgBkColor));
    QPainter p(&sheet);
    const QStringList captions{QStringLiteral("圆角"), QStringLiteral("椭圆"), QStringLiteral("菱形"),
                               QStringLiteral("六边形"), QStringLiteral("八边形")};
    const QColor deep = ColorRefToQColor(SM::m_CoolTabCtrlBkColor);
    for (int style = 0; style < 5; ++style) {
        CControlButton button;
        button.setText(captions.at(style));
        button.SetRgnStyle(style);
        button.DoGradientFill(true, MakeColorRef(255, 255, 255), QColorToColorRef(deep.lighter(150)));
        button.resize(100, style == 0 ? 30 : 44);
        const QImage face = button.grab().toImage();
        QImage shaped(face.size(), QImage::Format_ARGB32_Premultiplied);
        shaped.fill(Qt::transparent);
        {
            QPainter s(&shaped);
            s.setClipRegion(button.ButtonRegion(button.size()));
            s.drawImage(0, 0, face);
        }
        p.drawImage(10 + style * 110, (60 - face.height()) / 2, shaped);
    }
    return sheet;
}

QImage gradients()
{
    QImage sheet(4 * 90 + 10, 70, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    const unsigned long from = SM::m_CoolTabCtrlBkColor;
    const unsigned long to = SM::m_AddFavorDlgBkColor;
    for (int direction = 0; direction < 4; ++direction)
        CPainter::DrawGradientRect(&p, direction, QRect(10 + direction * 90, 10, 80, 50), from, to);
    return sheet;
}

// The toolbar as the browser composes it: the skin's background, the fixed button
// faces of Common/, the logo and the address box.
QImage toolbar(const QString& installFolder, int width)
{
    const int height = 62;
    QImage sheet(width, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    DrawTiledAcross(p, sheet.rect(), LoadSkinBitmap(SM::m_strControlToolBkPic));
    const QString common = installFolder + QStringLiteral("/Common/");
    p.drawImage(QRect(3, 3, 56, 56), QImage(common + QStringLiteral("logo.png")));
    const QStringList left{QStringLiteral("homepagenm"), QStringLiteral("favornm"), QStringLiteral("backnm"),
                           QStringLiteral("forwardhv")};
    int x = 92;
    for (const QString& name : left) {
        p.drawImage(QPoint(x, 12), QImage(common + name + QStringLiteral(".png")));
        x += 52;
    }
    const QStringList right{QStringLiteral("refreshnm"), QStringLiteral("stopnm"), QStringLiteral("printpress"),
                            QStringLiteral("surfacenm")};
    int rx = width - 60 - 40;
    for (auto it = right.crbegin(); it != right.crend(); ++it) {
        p.drawImage(QPoint(rx, 12), QImage(common + *it + QStringLiteral(".png")));
        rx -= 40 + 15;
    }
    p.drawImage(QPoint(width - 25 - 5, 4), QImage(common + QStringLiteral("closenm.png")));
    CCoolComoBox combo;
    applyComboSkin(combo, SM::m_AddressComboBoxBkColor);
    combo.setEditText(QStringLiteral("http://www.lorvane.example/"));
    const int comboLeft = x + 3;
    const int comboRight = rx + 40 - 15;
    combo.resize(comboRight - comboLeft, 32);
    p.drawImage(QPoint(comboLeft, 16), combo.grab().toImage());
    return sheet;
}

// The tab container bar: the two fixed buttons at the left, then the tab strip.
QImage tabContainer(const QString& installFolder, int width, QList<QWidget*>& pages)
{
    QImage sheet(width, 31, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&sheet);
    DrawTiledAcross(p, sheet.rect(), LoadSkinBitmap(SM::m_strTabBackGround));
    const QString common = installFolder + QStringLiteral("/Common/");
    p.drawImage(QPoint(4, 4), QImage(common + QStringLiteral("addfavornormal.png")));
    p.drawImage(QPoint(31, 4), QImage(common + QStringLiteral("addblanknormal.png")));
    p.drawImage(QPoint(57, 0), tabBar(width - 57, kCaptions, 1, pages));
    return sheet;
}

QImage overview(const QString& installFolder, const QImage& dialogImage, QList<QWidget*>& pages)
{
    const int width = 1000;
    const QImage bar = toolbar(installFolder, width);
    const QImage tabs = tabContainer(installFolder, width, pages);
    CCoolStatusBar status;
    status.resize(width, 25);
    status.SetBackColor(SM::m_CoolTabCtrlBkColor);
    status.SetFontColor(SM::m_StatusTextColor);
    const QImage statusImage = status.grab().toImage();
    const int pageHeight = 300;
    QImage sheet(width, bar.height() + tabs.height() + pageHeight + statusImage.height(),
                 QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter p(&sheet);
    int y = 0;
    p.drawImage(0, y, bar);
    y += bar.height();
    p.drawImage(0, y, tabs);
    y += tabs.height();
    p.drawImage((width - dialogImage.width()) / 2, y + (pageHeight - dialogImage.height()) / 2, dialogImage);
    y += pageHeight;
    p.drawImage(0, y, statusImage);
    return sheet;
}

QIcon star()
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 ? 3.2 : 7.5;
        const double a = M_PI / 2 + i * M_PI / 5;
        const QPointF point(8 + r * std::cos(a), 8.5 - r * std::sin(a));
        i ? path.lineTo(point) : path.moveTo(point);
    }
    path.closeSubpath();
    p.setPen(QColor(200, 120, 0));
    p.setBrush(QColor(255, 210, 40));
    p.drawPath(path);
    return QIcon(pm);
}

// The browser's side bar: a bar docked at the left of a frame, holding the tab control
// with the two trees.
QImage sideBar(bool bottomTabs)
{
    QMainWindow frame;
    frame.setCentralWidget(new QWidget);
    frame.resize(480, 420);
    auto* bar = new CCoolBar;
    bar->Create(QStringLiteral("工作区"), &frame, QSize(230, 400), true, 123);
    auto* tabs = new CCoolTabCtrl;
    tabs->Create((bottomTabs ? kTabStyleBottom : kTabStyleTop) | kTabCtrlVisible, QRect(0, 0, 100, 100), bar, 125);
    bar->setWidget(tabs);
    auto* favorites = new CCoolTreeCtrl(tabs);
    auto* games = new QTreeWidgetItem(favorites, {QStringLiteral("游戏")});
    new QTreeWidgetItem(games, {QStringLiteral("拼图乐园")});
    new QTreeWidgetItem(games, {QStringLiteral("小小画家")});
    new QTreeWidgetItem(favorites, {QStringLiteral("动画片大全")});
    favorites->expandAll();
    auto* sites = new QTreeWidget(tabs);
    sites->setHeaderHidden(true);
    new QTreeWidgetItem(sites, {QStringLiteral("儿童百科")});
    tabs->AddPage(favorites, QStringLiteral("收藏夹"), star());
    tabs->AddPage(sites, QStringLiteral("推荐页"), star());
    tabs->SetTabPicture(SM::m_strTabButtonLeftNormal, SM::m_strTabButtonMiddleNormal, SM::m_strTabButtonRightNormal,
                        SM::m_strTabButtonLeftActive, SM::m_strTabButtonMiddleActive, SM::m_strTabButtonRightActive);
    tabs->SetCloseButtonPicture(SM::m_strTabCloseButton);
    tabs->SetBackgroundColor(SM::m_CoolTabCtrlBkColor);
    tabs->UpdateWindow();
    bar->SetBackColor(SM::m_CoolTabCtrlBkColor);
    frame.addDockWidget(Qt::LeftDockWidgetArea, bar);
    frame.show();
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    return bar->grab().toImage();
}

} // namespace

QList<GallerySkin> ListSkins(const QString& installFolder)
{
    QList<GallerySkin> skins;
    const CINIOperater list(installFolder + QStringLiteral("/skinlist.ini"));
    for (const QString& section : list.ReadSections()) {
        const QString file = list.ReadString(section, QStringLiteral("INI_FILE"));
        if (file.isEmpty())
            continue;
        skins.append({section, list.ReadString(section, QStringLiteral("INI_NAME")),
                      installFolder + QStringLiteral("/skin/") + file});
    }
    return skins;
}

QList<GalleryPicture> RenderSkin(const GallerySkin& skin, const QString& installFolder)
{
    CSurfaceManager::LoadFromFile(skin.definition);
    QList<QWidget*> pages; // the windows the tabs stand for
    QList<GalleryPicture> out;
    QImage buttonFaces[3];
    const QImage dialogImage = dialog(buttonFaces);
    out.append({QStringLiteral("dialog"), dialogImage});
    out.append({QStringLiteral("button_normal"), buttonFaces[0]});
    out.append({QStringLiteral("button_hover"), buttonFaces[1]});
    out.append({QStringLiteral("button_press"), buttonFaces[2]});
    {
        CCoolEdit edit;
        applyEditSkin(edit);
        edit.resize(260, 38);
        edit.setText(QStringLiteral("我的收藏：小动物"));
        out.append({QStringLiteral("edit"), edit.grab().toImage()});
    }
    out.append({QStringLiteral("combobox"), comboBox(false)});
    out.append({QStringLiteral("combobox_pressed"), comboBox(true)});
    out.append({QStringLiteral("combobox_list"), comboList()});
    out.append({QStringLiteral("tabbar"), tabBar(760, kCaptions, 1, pages)});
    out.append({QStringLiteral("tabbar_single"), tabBar(400, {kCaptions.first()}, -1, pages)});
    QStringList many;
    for (int i = 1; i <= 10; ++i)
        many.append(QStringLiteral("第%1页").arg(i));
    out.append({QStringLiteral("tabbar_overflow"), tabBar(520, many, -1, pages)});
    out.append({QStringLiteral("statusbar"), statusBar()});
    out.append({QStringLiteral("controlbutton"), controlButtons()});
    out.append({QStringLiteral("gradients"), gradients()});
    out.append({QStringLiteral("toolbar"), toolbar(installFolder, 1000)});
    out.append({QStringLiteral("overview"), overview(installFolder, dialogImage, pages)});
    out.append({QStringLiteral("sidebar"), sideBar(false)});
    out.append({QStringLiteral("sidebar_bottomtabs"), sideBar(true)});
    qDeleteAll(pages);
    out.append({QStringLiteral("all"), ContactSheet(skin, out)});
    return out;
}

QImage ContactSheet(const GallerySkin& skin, const QList<GalleryPicture>& pictures)
{
    const int margin = 12;
    const int caption = 20;
    int width = 0;
    int height = margin + caption;
    for (const GalleryPicture& picture : pictures) {
        width = qMax(width, picture.image.width());
        height += caption + picture.image.height() + margin;
    }
    QImage sheet(width + 2 * margin, height, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(QColor(250, 250, 250));
    QPainter p(&sheet);
    QFont bold = p.font();
    bold.setBold(true);
    int y = margin;
    p.setFont(bold);
    p.drawText(QRect(margin, y, width, caption), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("%1 (%2)").arg(skin.name, skin.id));
    p.setFont(QFont());
    y += caption;
    for (const GalleryPicture& picture : pictures) {
        p.setPen(QColor(90, 90, 90));
        p.drawText(QRect(margin, y, width, caption), Qt::AlignLeft | Qt::AlignVCenter, picture.name);
        y += caption;
        p.drawImage(margin, y, picture.image);
        y += picture.image.height() + margin;
    }
    return sheet;
}
