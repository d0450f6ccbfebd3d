#include "favorites.h"

#include <algorithm>

namespace Favorites {

namespace {

bool changesDirection(char16_t c)
{
    return c == 0x061C || c == 0x200E || c == 0x200F || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

} // namespace

QList<FavorNode> BuildFavorTree(const QList<VisitClassRecord>& classes, const QList<FavorRecord>& favors)
{
    QList<FavorNode> tree;
    for (const VisitClassRecord& c : classes) {
        if (c.m_strClsName.isEmpty())
            continue;
        // The record's own id: a second category of the same name keeps its favorites.
        tree.append(FavorNode{FavorTreeItem{FavorTreeItem::kCategory, c.m_strClsName, QString(), c.m_nClsId}, {}});
    }
    const qsizetype categoryCount = tree.size();
    for (const FavorRecord& f : favors) {
        const FavorNode node{FavorTreeItem{FavorTreeItem::kFavorite, f.m_strFavorName, f.m_strFavorUrl, f.m_nFavorId},
                             {}};
        FavorNode* parent = nullptr;
        if (f.m_nClsId != -1) {
            for (qsizetype i = 0; i < categoryCount && !parent; ++i) {
                if (tree[i].item.m_nId == f.m_nClsId)
                    parent = &tree[i];
            }
        }
        if (parent)
            parent->children.append(node);
        else
            tree.append(node);
    }
    return tree;
}

int FindCategoryNode(const QList<FavorTreeItem>& topLevel, const QString& category)
{
    const QString wanted = category.trimmed();
    if (wanted.isEmpty())
        return -1;
    for (qsizetype i = 0; i < topLevel.size(); ++i) {
        const FavorTreeItem& node = topLevel[i];
        if (!node.IsCategory())
            continue;
        const QString name = node.m_strName.trimmed();
        if (!name.isEmpty() && name.compare(wanted, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

std::optional<Refusal> CheckFavorName(const QString& typed)
{
    if (typed.trimmed().isEmpty())
        return Refusal{QStringLiteral("收藏的名字不能为空!"), QStringLiteral("提示")};
    return std::nullopt;
}

AddFavorPlan AddFavor(const QList<FavorTreeItem>& topLevel, const QString& name, const QString& url,
                      const QString& category, Store& store)
{
    AddFavorPlan plan;
    plan.favor = FavorTreeItem{FavorTreeItem::kFavorite, name, url, -1};
    QList<FavorTreeItem> shown = topLevel;
    if (category.isEmpty()) {
        plan.favor.m_nId = store.AddFavor(name, url, -1);
        plan.stored = plan.favor.m_nId != -1;
        return plan;
    }

    // A failure on the way stops every later write: a favorite stored with clsid -1
    // would show up outside its category at the next start.
    std::optional<int> clsid;
    const std::optional<bool> exists = store.IsVisitClassExist(category);
    if (exists && !*exists) {
        if (store.AddVisitClass(category)) {
            clsid = store.GetVisitClassId(category);
            plan.newCategory = FavorTreeItem{FavorTreeItem::kCategory, category, QString(), clsid.value_or(-1)};
            shown.append(*plan.newCategory);
        }
    } else if (exists) {
        clsid = store.GetVisitClassId(category);
    }
    if (clsid && *clsid != -1)
        plan.favor.m_nId = store.AddFavor(name, url, *clsid);
    plan.stored = plan.favor.m_nId != -1;
    plan.parentIndex = FindCategoryNode(shown, category);
    return plan;
}

void ApplyAddFavor(QList<FavorNode>& tree, const AddFavorPlan& plan)
{
    if (plan.newCategory)
        tree.append(FavorNode{*plan.newCategory, {}});
    const FavorNode node{plan.favor, {}};
    if (plan.parentIndex >= 0 && plan.parentIndex < tree.size())
        tree[plan.parentIndex].children.append(node);
    else
        tree.append(node);
}

bool DeleteFromStore(const FavorTreeItem& item, Store& store)
{
    // Deleting by -1 would take every favorite outside a category with it.
    if (item.m_nId == -1)
        return false;
    return item.IsCategory() ? store.DeleteVisitClass(item.m_nId) : store.DeleteFavor(item.m_nId);
}

QStringList CategoryChoices(const QList<VisitClassRecord>& classes)
{
    QStringList names;
    for (const VisitClassRecord& c : classes) {
        if (!c.m_strClsName.isEmpty() && !names.contains(c.m_strClsName))
            names.append(c.m_strClsName);
    }
    std::stable_sort(names.begin(), names.end(),
                     [](const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) < 0; });
    return names;
}

QString ShownText(const QString& text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar c : text) {
        if (changesDirection(c.unicode()))
            shown += QStringLiteral("<U+%1>").arg(uint(c.unicode()), 4, 16, QLatin1Char('0')).toUpper();
        else if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::LineSeparator
                 || c == QChar::ParagraphSeparator)
            shown += QLatin1Char(' ');
        else
            shown += c;
    }
    return shown;
}

} // namespace Favorites
