#include "workspacebar.h"

#include "browserids.h"
#include "browserlog.h"
#include "coolpngbutton.h"
#include "skinfiles.h"

#include <pellora/cooltabctrl.h>
#include <pellora/cooltreectrl.h>
#include <pellora/surfacemanager.h>

#include <QAction>
#include <QTextDocument>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QTreeWidget>

using Pellora::CCoolTabCtrl;
using Pellora::CCoolTreeCtrl;
using Pellora::CSurfaceManager;

namespace {

// An address as its tooltip: exactly that text, never read as formatting.
QString plainToolTip(const QString& address)
{
    return Qt::convertFromPlainText(Favorites::ShownText(address), Qt::WhiteSpaceNoWrap);
}

constexpr int kItemRole = Qt::UserRole;
constexpr int kSiteNameRole = Qt::UserRole + 1;
constexpr int kSiteUrlRole = Qt::UserRole + 2;

const char kNotStored[] = "这个网页没能存进收藏夹，下次打开浏览器时它就不在了。";
const char kNotDeleted[] = "没能从收藏夹里删掉它，下次打开浏览器时它还会出现。";

// Border, expand buttons and lines, lines at the root; nothing to edit, drag or drop.
void setUpTree(QTreeWidget* tree, int id)
{
    tree->setObjectName(QString::number(id));
    tree->setHeaderHidden(true);
    tree->setColumnCount(1);
    tree->setRootIsDecorated(true);
    tree->setItemsExpandable(true);
    tree->setFrameShape(QFrame::StyledPanel);
    tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tree->setDragDropMode(QAbstractItemView::NoDragDrop);
    tree->setDragEnabled(false);
    tree->setAcceptDrops(false);
    tree->setSelectionMode(QAbstractItemView::SingleSelection);
    tree->setIconSize(QSize(16, 16));
    tree->setUniformRowHeights(true);
}

QTreeWidgetItem* newNode(const QString& text, const QIcon& icon)
{
    auto* node = new QTreeWidgetItem(QStringList{Favorites::ShownText(text)});
    node->setIcon(0, icon);
    // Selectable and enabled only: never edited, dragged or checked.
    node->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    return node;
}

} // namespace

CWorkspaceBar::CWorkspaceBar(Favorites::Store* store, QWidget* parent)
    : CCoolBar(parent)
    , m_pStore(store)
{
}

CWorkspaceBar::~CWorkspaceBar() = default;

bool CWorkspaceBar::Create(QMainWindow* frame)
{
    if (!CCoolBar::Create(QStringLiteral("工作区"), frame, QSize(200, 260), false, BrowserIds::kBarWorkspace))
        return false;
    m_starIcon = QIcon(CCoolPngButton::LoadPicture(SkinFiles::CommonPicture("favtabstar.png")));

    m_pTabCtrl = new CCoolTabCtrl(this);
    m_pTabCtrl->Create(Pellora::kTabCtrlVisible | Pellora::kTabStyleTop, QRect(0, 0, 100, 100), this,
                       BrowserIds::kCtlWorkspaceTabs);
    m_pFavorTree = new CCoolTreeCtrl(m_pTabCtrl);
    setUpTree(m_pFavorTree, BrowserIds::kCtlFavorTree);
    m_pSiteTree = new QTreeWidget(m_pTabCtrl);
    setUpTree(m_pSiteTree, BrowserIds::kCtlSiteTree);
    m_pTabCtrl->AddPage(m_pFavorTree, QStringLiteral("收藏夹"), m_starIcon);
    m_pTabCtrl->AddPage(m_pSiteTree, QStringLiteral("推荐页"), m_starIcon);
    m_pTabCtrl->UpdateWindow();
    setWidget(m_pTabCtrl);

    // The favorites tree has its own menu; the recommended sites have none, and their
    // right clicks go no further (the frame's menu of its bars is not for the child).
    m_pFavorTree->setContextMenuPolicy(Qt::CustomContextMenu);
    m_pSiteTree->setContextMenuPolicy(Qt::PreventContextMenu);
    m_pTabCtrl->setContextMenuPolicy(Qt::PreventContextMenu);
    connect(m_pFavorTree, &QWidget::customContextMenuRequested, this, &CWorkspaceBar::showFavorMenu);
    connect(m_pFavorTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) { openFavor(node); });
    connect(m_pFavorTree, &QTreeWidget::itemExpanded, this, &CWorkspaceBar::updateFolderImage);
    connect(m_pFavorTree, &QTreeWidget::itemCollapsed, this, &CWorkspaceBar::updateFolderImage);
    connect(m_pSiteTree, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem* node) { openSite(node); });
    m_pFavorTree->installEventFilter(this);
    m_pFavorTree->viewport()->installEventFilter(this);
    m_pSiteTree->installEventFilter(this);

    setAllowedAreas(Qt::AllDockWidgetAreas);
    frame->addDockWidget(Qt::LeftDockWidgetArea, this);
    hide();
    return true;
}

void CWorkspaceBar::SetupImages()
{
    const char* const files[3] = {"favfolderclosed.png", "favfolderopen.png", "favwebpage.png"};
    for (int i = 0; i < 3; ++i)
        m_images[i] = QIcon(CCoolPngButton::LoadPicture(SkinFiles::CommonPicture(files[i])));
}

void CWorkspaceBar::FillTrees()
{
    const auto classes = m_pStore->GetVisitClasses();
    const auto favors = m_pStore->GetFavors();
    for (const FavorNode& top : Favorites::BuildFavorTree(classes.value_or(QList<VisitClassRecord>()),
                                                          favors.value_or(QList<FavorRecord>()))) {
        if (top.item.IsCategory()) {
            QTreeWidgetItem* category = addCategoryNode(top.item);
            for (const FavorNode& child : top.children)
                addFavorNode(category, child.item);
        } else {
            addFavorNode(nullptr, top.item);
        }
    }
    for (const SiteLink& site : m_pStore->GetSiteLinks().value_or(QList<SiteLink>())) {
        QTreeWidgetItem* node = newNode(site.m_strSiteName, m_images[kWebPage]);
        node->setData(0, kSiteNameRole, site.m_strSiteName);
        node->setData(0, kSiteUrlRole, site.m_strSiteUrl);
        node->setToolTip(0, plainToolTip(site.m_strSiteUrl));
        m_pSiteTree->addTopLevelItem(node);
    }
}

void CWorkspaceBar::ApplySkin()
{
    using S = CSurfaceManager;
    if (m_pTabCtrl) {
        m_pTabCtrl->SetTabPicture(S::m_strTabButtonLeftNormal, S::m_strTabButtonMiddleNormal,
                                  S::m_strTabButtonRightNormal, S::m_strTabButtonLeftActive,
                                  S::m_strTabButtonMiddleActive, S::m_strTabButtonRightActive);
        m_pTabCtrl->SetBackgroundColor(S::m_CoolTabCtrlBkColor);
        m_pTabCtrl->SetCloseButtonPicture(S::m_strTabCloseButton);
        m_pTabCtrl->update();
    }
    SetBackColor(S::m_CoolTabCtrlBkColor);
}

QTreeWidgetItem* CWorkspaceBar::addCategoryNode(const FavorTreeItem& item)
{
    QTreeWidgetItem* node = newNode(item.m_strName, m_images[kClosedFolder]);
    node->setData(0, kItemRole, QVariant::fromValue(item));
    m_pFavorTree->addTopLevelItem(node);
    return node;
}

QTreeWidgetItem* CWorkspaceBar::addFavorNode(QTreeWidgetItem* parent, const FavorTreeItem& item)
{
    QTreeWidgetItem* node = newNode(item.m_strName, m_images[kWebPage]);
    node->setData(0, kItemRole, QVariant::fromValue(item));
    node->setToolTip(0, plainToolTip(item.m_strUrl));
    if (parent)
        parent->addChild(node);
    else
        m_pFavorTree->addTopLevelItem(node);
    return node;
}

FavorTreeItem CWorkspaceBar::ItemOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, kItemRole).value<FavorTreeItem>() : FavorTreeItem();
}

SiteLink CWorkspaceBar::SiteOf(const QTreeWidgetItem* node)
{
    if (!node)
        return SiteLink();
    return SiteLink{node->data(0, kSiteNameRole).toString(), node->data(0, kSiteUrlRole).toString()};
}

QList<FavorTreeItem> CWorkspaceBar::topLevelItems() const
{
    QList<FavorTreeItem> items;
    for (int i = 0; i < m_pFavorTree->topLevelItemCount(); ++i)
        items.append(ItemOf(m_pFavorTree->topLevelItem(i)));
    return items;
}

QList<FavorNode> CWorkspaceBar::FavorTreeData() const
{
    QList<FavorNode> tree;
    for (int i = 0; i < m_pFavorTree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* top = m_pFavorTree->topLevelItem(i);
        FavorNode node{ItemOf(top), {}};
        for (int j = 0; j < top->childCount(); ++j)
            node.children.append(FavorNode{ItemOf(top->child(j)), {}});
        tree.append(node);
    }
    return tree;
}

Favorites::AddFavorPlan CWorkspaceBar::AddFavorite(const QString& name, const QString& url, const QString& category)
{
    const Favorites::AddFavorPlan plan = Favorites::AddFavor(topLevelItems(), name, url, category, *m_pStore);
    if (plan.newCategory)
        addCategoryNode(*plan.newCategory);
    QTreeWidgetItem* parent = plan.parentIndex >= 0 ? m_pFavorTree->topLevelItem(plan.parentIndex) : nullptr;
    addFavorNode(parent, plan.favor);
    if (!plan.stored)
        emit notice(QString::fromUtf8(kNotStored));
    return plan;
}

void CWorkspaceBar::OnFavorCommand(int commandId)
{
    const QList<QTreeWidgetItem*> selected = m_pFavorTree->selectedItems();
    QTreeWidgetItem* node = selected.isEmpty() ? nullptr : selected.first();
    if (!node)
        return;
    const FavorTreeItem item = ItemOf(node);
    const bool removes = (commandId == BrowserIds::kCmdFavorDelete && item.IsFavorite())
        || (commandId == BrowserIds::kCmdFavorDeleteClass && item.IsCategory());
    if (commandId == BrowserIds::kCmdFavorOpen) {
        openFavor(node);
    } else if (removes) {
        if (!Favorites::DeleteFromStore(item, *m_pStore) && item.m_nId != -1)
            emit notice(QString::fromUtf8(kNotDeleted));
        // A category's node takes its favorites' nodes with it.
        delete node;
    }
}

QMenu* CWorkspaceBar::CreateFavorMenu(const QTreeWidgetItem* node, QWidget* parent)
{
    if (!node)
        return nullptr;
    auto* menu = new QMenu(parent);
    auto add = [this, menu](const char* text, int commandId) {
        QAction* action = menu->addAction(QString::fromUtf8(text));
        action->setData(commandId);
        connect(action, &QAction::triggered, this, [this, commandId] { emit command(commandId); });
    };
    if (ItemOf(node).IsFavorite()) {
        add("打开该Web页", BrowserIds::kCmdFavorOpen);
        menu->addSeparator();
        add("删除该Web页", BrowserIds::kCmdFavorDelete);
    } else {
        add("删除收藏种类", BrowserIds::kCmdFavorDeleteClass);
    }
    return menu;
}

void CWorkspaceBar::showFavorMenu(const QPoint& viewportPos)
{
    QTreeWidgetItem* node = m_pFavorTree->itemAt(viewportPos);
    if (!node)
        return;
    m_pFavorTree->setCurrentItem(node);
    QMenu* menu = CreateFavorMenu(node, m_pFavorTree);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->exec(m_pFavorTree->viewport()->mapToGlobal(viewportPos));
}

void CWorkspaceBar::openFavor(const QTreeWidgetItem* node)
{
    const FavorTreeItem item = ItemOf(node);
    if (node && item.IsFavorite())
        emit openAddress(item.m_strUrl);
}

void CWorkspaceBar::openSite(const QTreeWidgetItem* node)
{
    if (node)
        emit openAddress(SiteOf(node).m_strSiteUrl);
}

void CWorkspaceBar::updateFolderImage(QTreeWidgetItem* node)
{
    if (ItemOf(node).IsCategory())
        node->setIcon(0, m_images[node->isExpanded() ? kOpenFolder : kClosedFolder]);
}

bool CWorkspaceBar::eventFilter(QObject* watched, QEvent* event)
{
    // A right click on empty space of the favorites tree leaves the selection alone (the
    // tree would clear it) and shows no menu.
    if (watched == m_pFavorTree->viewport()
        && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::RightButton && !m_pFavorTree->itemAt(mouse->position().toPoint()))
            return true;
    }
    // Enter opens the current node as a double click does, for a child on the keyboard.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_pFavorTree) {
                openFavor(m_pFavorTree->currentItem());
                return true;
            }
            if (watched == m_pSiteTree) {
                openSite(m_pSiteTree->currentItem());
                return true;
            }
        }
    }
    return CCoolBar::eventFilter(watched, event);
}
