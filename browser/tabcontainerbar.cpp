#include "tabcontainerbar.h"

#include "browserids.h"
#include "coolpngbutton.h"
#include "skinfiles.h"
#include "toolbarlayout.h"

#include <pellora/cooltabbar.h>
#include <pellora/skinpaint.h>
#include <pellora/surfacemanager.h>

#include <QPainter>

using Pellora::CCoolTabBar;
using Pellora::CSurfaceManager;
using Pellora::DrawTiledAcross;
using Pellora::LoadSkinBitmap;

CTabContainerBar::CTabContainerBar(QWidget* parent)
    : QWidget(parent)
    , m_pNewTabButton(new CCoolPngButton(this))
    , m_pWorkspaceButton(new CCoolPngButton(this))
    , m_pTabBar(new CCoolTabBar(this))
{
    setWindowTitle(QStringLiteral("标签TAB容器"));
    m_pWorkspaceButton->setText(QStringLiteral("⊙"));
    m_pWorkspaceButton->setCheckable(true);
    m_pWorkspaceButton->setGeometry(QRect(ToolBarLayout::FromDialogUnits(3, 2, 0, 0).topLeft(), QSize(23, 23)));
    m_pNewTabButton->setText(QStringLiteral("+"));
    m_pNewTabButton->setGeometry(QRect(ToolBarLayout::FromDialogUnits(21, 2, 0, 0).topLeft(), QSize(23, 23)));
    m_pTabBar->setGeometry(ToolBarLayout::FromDialogUnits(38, 2, 282, 14));

    connect(m_pNewTabButton, &CCoolPngButton::clicked, this, [this] { emit command(BrowserIds::kCmdNewBlankTab); });
    connect(m_pWorkspaceButton, &CCoolPngButton::clicked, this,
            [this] { emit command(BrowserIds::kCmdToggleWorkspace); });
    ApplySkin();
    resize(sizeHint());
}

QSize CTabContainerBar::sizeHint() const
{
    return ToolBarLayout::FromDialogUnits(0, 0, 366, 19).size();
}

void CTabContainerBar::ApplySkin(const QString& skinFile)
{
    if (!skinFile.isEmpty())
        CSurfaceManager::LoadFromFile(skinFile);
    m_bmpTabBackground = LoadSkinBitmap(CSurfaceManager::m_strTabBackGround);
    m_pTabBar->SetFrameBkPic(CSurfaceManager::m_strTabBackGround);
    m_pTabBar->SetPrevButtonPic(CSurfaceManager::m_strTabPrevButtonNormal, CSurfaceManager::m_strTabPrevButtonMask,
                                CSurfaceManager::m_strTabPrevButtonPress, CSurfaceManager::m_strTabPrevButtonDisable);
    m_pTabBar->SetForwardButtonPic(CSurfaceManager::m_strTabForwardButtonNormal,
                                   CSurfaceManager::m_strTabForwardButtonMask,
                                   CSurfaceManager::m_strTabForwardButtonPress,
                                   CSurfaceManager::m_strTabForwordButtonDisable);
    m_pTabBar->SetTabButtonNormalPic(CSurfaceManager::m_strTabButtonLeftNormal,
                                     CSurfaceManager::m_strTabButtonMiddleNormal,
                                     CSurfaceManager::m_strTabButtonRightNormal);
    m_pTabBar->SetTabButtonActivePic(CSurfaceManager::m_strTabButtonLeftActive,
                                     CSurfaceManager::m_strTabButtonMiddleActive,
                                     CSurfaceManager::m_strTabButtonRightActive);
    m_pTabBar->SetTabCloseButtonPic(CSurfaceManager::m_strTabCloseButton);
    rebuildBackground();
    m_pWorkspaceButton->SetNormalFace(SkinFiles::CommonPicture("addfavornormal.png"));
    m_pWorkspaceButton->SetHoverFace(SkinFiles::CommonPicture("addfavorhover.png"));
    m_pWorkspaceButton->SetPressFace(SkinFiles::CommonPicture("addfavorpress.png"));
    m_pNewTabButton->SetNormalFace(SkinFiles::CommonPicture("addblanknormal.png"));
    m_pNewTabButton->SetHoverFace(SkinFiles::CommonPicture("addblankhover.png"));
    m_pNewTabButton->SetPressFace(SkinFiles::CommonPicture("addblankpress.png"));
    update();
}

void CTabContainerBar::rebuildBackground()
{
    QPixmap buffer(size().expandedTo(QSize(1, 1)));
    buffer.fill(palette().color(QPalette::Window));
    QPainter p(&buffer);
    DrawTiledAcross(p, buffer.rect(), m_bmpTabBackground);
    p.end();
    m_bmpBuffer = buffer;
    m_pWorkspaceButton->SetBackGroundBitmap(m_bmpBuffer);
    m_pNewTabButton->SetBackGroundBitmap(m_bmpBuffer);
}

void CTabContainerBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    DrawTiledAcross(p, rect(), m_bmpTabBackground);
}

void CTabContainerBar::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_pTabBar->setGeometry(m_pTabBar->x(), 0, qMax(0, width() - m_pTabBar->x()), height());
    rebuildBackground();
}
