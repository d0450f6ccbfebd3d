#pragma once

#include "favorites.h"

#include <pellora/coolbar.h>

#include <QIcon>

class QMainWindow;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace Pellora {
class CCoolTabCtrl;
class CCoolTreeCtrl;
}

// The side bar "工作区" docked at the frame's left edge: a tab control with the
// favorites tree "收藏夹" and the recommended-sites tree "推荐页". It keeps the
// favorites tree and the database in step; what is to be opened it hands to the frame,
// which opens every address the same way, through the navigation policy.
class CWorkspaceBar : public Pellora::CCoolBar
{
    Q_OBJECT

public:
    enum Image { kClosedFolder = 0, kOpenFolder = 1, kWebPage = 2 };

    // `store` must outlive the bar.
    explicit CWorkspaceBar(Favorites::Store* store, QWidget* parent = nullptr);
    ~CWorkspaceBar() override;

    // The bar on `frame` with its tab control and both trees, docked at the left edge
    // and hidden. False when it was made before.
    bool Create(QMainWindow* frame);
    // The trees' folder and page pictures and the tabs' star (files of the installation).
    void SetupImages();
    // Both trees from the database, once at start.
    void FillTrees();
    // The current skin's tab pictures and colours.
    void ApplySkin();

    // Stores a favorite (name and category trimmed) and adds its node, creating the
    // category and its node when the category is new.
    Favorites::AddFavorPlan AddFavorite(const QString& name, const QString& url, const QString& category);
    // The favorites menu's commands on the selected node: open, delete the favorite,
    // delete the category with its favorites.
    void OnFavorCommand(int commandId);

    Pellora::CCoolTabCtrl* TabCtrl() const { return m_pTabCtrl; }
    Pellora::CCoolTreeCtrl* FavorTree() const { return m_pFavorTree; }
    QTreeWidget* SiteTree() const { return m_pSiteTree; }
    const QIcon& Icon(Image image) const { return m_images[image]; }
    const QIcon& StarIcon() const { return m_starIcon; }

    static FavorTreeItem ItemOf(const QTreeWidgetItem* node);
    static SiteLink SiteOf(const QTreeWidgetItem* node);
    // The favorites tree as plain data, top level first to last.
    QList<FavorNode> FavorTreeData() const;
    // The pop-up menu of a favorites node, its actions reporting command(); nothing
    // for no node.
    QMenu* CreateFavorMenu(const QTreeWidgetItem* node, QWidget* parent);

signals:
    // An address to open in a new tab.
    void openAddress(const QString& address);
    // A command of the favorites menu, for the frame to carry out.
    void command(int commandId);
    // Something the child should hear about on the status bar.
    void notice(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTreeWidgetItem* addCategoryNode(const FavorTreeItem& item);
    QTreeWidgetItem* addFavorNode(QTreeWidgetItem* parent, const FavorTreeItem& item);
    QList<FavorTreeItem> topLevelItems() const;
    void showFavorMenu(const QPoint& viewportPos);
    void openFavor(const QTreeWidgetItem* node);
    void openSite(const QTreeWidgetItem* node);
    void updateFolderImage(QTreeWidgetItem* node);

    Favorites::Store* m_pStore;
    Pellora::CCoolTabCtrl* m_pTabCtrl = nullptr;
    Pellora::CCoolTreeCtrl* m_pFavorTree = nullptr;
    QTreeWidget* m_pSiteTree = nullptr;
    QIcon m_images[3];
    QIcon m_starIcon;
};
