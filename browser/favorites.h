#pragma once

#include "browsingrecords.h"

#include <QList>
#include <QMetaType>
#include <QString>

#include <optional>

// The record every node of the favorites tree carries.
struct FavorTreeItem {
    enum Kind { kCategory = 0, kFavorite = 1 };

    int m_nKind = kCategory;
    QString m_strName;
    QString m_strUrl; // empty for a category
    // The category's clsid or the favorite's favorid; -1 for one the database did not take.
    int m_nId = -1;

    bool IsCategory() const { return m_nKind == kCategory; }
    bool IsFavorite() const { return m_nKind == kFavorite; }
    bool operator==(const FavorTreeItem&) const = default;
};
Q_DECLARE_METATYPE(FavorTreeItem)

// A node of the favorites tree as plain data: categories and favorites on top,
// favorites under their category, nothing deeper.
struct FavorNode {
    FavorTreeItem item;
    QList<FavorNode> children;

    bool operator==(const FavorNode&) const = default;
};

// The rules of the favorites and the recommended sites, without widgets: what the side
// bar's trees hold, where an added favorite goes and what a deletion removes.
namespace Favorites {

// Where favorites and categories are kept (the browser's database). No operation
// throws: a read that fails gives nothing, a write that fails says so.
class Store
{
public:
    virtual ~Store() = default;

    virtual std::optional<QList<VisitClassRecord>> GetVisitClasses() = 0;
    virtual std::optional<QList<FavorRecord>> GetFavors() = 0;
    virtual std::optional<QList<SiteLink>> GetSiteLinks() = 0;
    // Exact (trimmed) name; nothing when the store could not be read.
    virtual std::optional<bool> IsVisitClassExist(const QString& name) = 0;
    // -1 when no category has the name; nothing when the store could not be read.
    virtual std::optional<int> GetVisitClassId(const QString& name) = 0;
    virtual bool AddVisitClass(const QString& name) = 0;
    // The new favorid, -1 when the write failed.
    virtual int AddFavor(const QString& name, const QString& url, int clsid) = 0;
    virtual bool DeleteVisitClass(int clsid) = 0;
    virtual bool DeleteFavor(int favorid) = 0;
};

// The tree read at start: every category with a name, in the order read, each holding
// its favorites; a favorite of clsid -1, or of an id no shown category has, on top
// after the categories. Favorites keep the order read.
QList<FavorNode> BuildFavorTree(const QList<VisitClassRecord>& classes, const QList<FavorRecord>& favors);

// The first top-level category whose name, trimmed, equals `category` trimmed without
// regard to case; -1 when there is none. An empty name never matches.
int FindCategoryNode(const QList<FavorTreeItem>& topLevel, const QString& category);

struct Refusal {
    QString text;
    QString caption;
};
// Why a typed favorite name is refused (blank once trimmed), or nothing.
std::optional<Refusal> CheckFavorName(const QString& typed);

// What adding a favorite changes in the tree.
struct AddFavorPlan {
    // A category node appended at the top level first, when the category was new.
    std::optional<FavorTreeItem> newCategory;
    FavorTreeItem favor;
    // Top-level index (counted after newCategory is appended) of the category node the
    // favorite goes under; -1 for the top level.
    int parentIndex = -1;
    // False when the store did not take everything: the favorite's node then has id -1
    // and is gone at the next start. Nothing is ever stored in the wrong category.
    bool stored = true;
};

// Adds the favorite (name and category already trimmed, the address as the address box
// shows it) to `store` and says where its node goes among `topLevel`. An empty category
// stores it with clsid -1; a category of a name not stored exactly so is created first.
AddFavorPlan AddFavor(const QList<FavorTreeItem>& topLevel, const QString& name, const QString& url,
                      const QString& category, Store& store);
// Carries a plan out on a tree held as plain data.
void ApplyAddFavor(QList<FavorNode>& tree, const AddFavorPlan& plan);

// Removes what a node stands for from the store: a favorite by its favorid, a category
// with all its favorites. A node whose write had failed (id -1) stands for nothing, so
// nothing is deleted; false then and when the store failed.
bool DeleteFromStore(const FavorTreeItem& item, Store& store);

// The category names the add-favorite dialog offers: the non-empty ones, sorted
// without regard to case (equal names keep their order), each once.
QStringList CategoryChoices(const QList<VisitClassRecord>& classes);

// A name or address as the trees show it: every character that changes the direction
// of the text around it is written out as its code ("<U+202E>"), so it reads in the
// order it was typed, and line breaks become blanks.
QString ShownText(const QString& text);

} // namespace Favorites
