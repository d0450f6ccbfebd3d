#include "addfavordlg.h"
#include "browserdata.h"
#include "browserids.h"
#include "cppsqlitedb.h"
#include "favorites.h"
#include "favoritesstore.h"
#include "isolatedenvironment.h"
#include "messagerecorder.h"
#include "paths.h"
#include "skinfiles.h"
#include "workspacebar.h"

#include <pellora/colorref.h>
#include <pellora/coolbutton.h>
#include <pellora/coolcombobox.h>
#include <pellora/cooledit.h>
#include <pellora/cooltabctrl.h>
#include <pellora/cooltreectrl.h>
#include <pellora/surfacemanager.h>

#include <QAction>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QTextDocument>
#include <QtTest>

using Favorites::AddFavorPlan;
using Pellora::CCoolTreeCtrl;

namespace {

// The favorites kept in memory, as the database would keep them (names looked up
// exactly, ids growing from 1), with one kind of failure to play.
class FakeStore : public Favorites::Store
{
public:
    enum class Fail { None, Read, AddClass, AddFavor };

    QList<VisitClassRecord> classes;
    QList<FavorRecord> favors;
    QList<SiteLink> sites;
    QStringList deletes;
    Fail fail = Fail::None;
    int nextClassId = 1;
    int nextFavorId = 1;

    std::optional<QList<VisitClassRecord>> GetVisitClasses() override
    {
        return fail == Fail::Read ? std::nullopt : std::optional(classes);
    }
    std::optional<QList<FavorRecord>> GetFavors() override
    {
        return fail == Fail::Read ? std::nullopt : std::optional(favors);
    }
    std::optional<QList<SiteLink>> GetSiteLinks() override
    {
        return fail == Fail::Read ? std::nullopt : std::optional(sites);
    }
    std::optional<bool> IsVisitClassExist(const QString& name) override
    {
        const std::optional<int> id = GetVisitClassId(name);
        return id ? std::optional(*id != -1) : std::nullopt;
    }
    std::optional<int> GetVisitClassId(const QString& name) override
    {
        if (fail == Fail::Read)
            return std::nullopt;
        for (const VisitClassRecord& c : classes) {
            if (c.m_strClsName == name.trimmed())
                return c.m_nClsId;
        }
        return -1;
    }
    bool AddVisitClass(const QString& name) override
    {
        if (fail == Fail::AddClass)
            return false;
        classes.append({name.trimmed(), nextClassId++});
        return true;
    }
    int AddFavor(const QString& name, const QString& url, int clsid) override
    {
        if (fail == Fail::AddFavor)
            return -1;
        favors.append({QString(), clsid, name, url, nextFavorId});
        return nextFavorId++;
    }
    bool DeleteVisitClass(int clsid) override
    {
        deletes.append(QStringLiteral("category %1").arg(clsid));
        return true;
    }
    bool DeleteFavor(int favorid) override
    {
        deletes.append(QStringLiteral("favorite %1").arg(favorid));
        return true;
    }
};

// "1:Games 2:News": categories with their ids.
QList<VisitClassRecord> parseClasses(const QString& text)
{
    QList<VisitClassRecord> list;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype colon = part.indexOf(QLatin1Char(':'));
        list.append({part.mid(colon + 1), part.left(colon).toInt()});
    }
    return list;
}

// "A@1 C@-1": favorites with their clsid; favorids count from 101.
QList<FavorRecord> parseFavors(const QString& text)
{
    QList<FavorRecord> list;
    int id = 101;
    for (const QString& part : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const qsizetype at = part.indexOf(QLatin1Char('@'));
        const QString name = part.left(at);
        const QString url = QStringLiteral("http://%1/").arg(name.toLower());
        list.append({QString(), part.mid(at + 1).toInt(), name, url, id++});
    }
    return list;
}

// "Games[A B] News[] C": categories with their favorites, then favorites on top.
QString describe(const QList<FavorNode>& tree)
{
    QStringList parts;
    for (const FavorNode& node : tree) {
        if (!node.item.IsCategory()) {
            parts.append(node.item.m_strName);
            continue;
        }
        QStringList children;
        for (const FavorNode& child : node.children)
            children.append(child.item.m_strName);
        parts.append(node.item.m_strName + QLatin1Char('[') + children.join(QLatin1Char(' ')) + QLatin1Char(']'));
    }
    return parts.join(QLatin1Char(' '));
}

QString describeFavors(const QList<FavorRecord>& favors)
{
    QStringList parts;
    for (const FavorRecord& f : favors)
        parts.append(QStringLiteral("%1@%2").arg(f.m_strFavorName).arg(f.m_nClsId));
    return parts.join(QLatin1Char(' '));
}

QString describeClasses(const QList<VisitClassRecord>& classes)
{
    QStringList parts;
    for (const VisitClassRecord& c : classes)
        parts.append(QStringLiteral("%1:%2").arg(c.m_nClsId).arg(c.m_strClsName));
    return parts.join(QLatin1Char(' '));
}

QList<FavorTreeItem> topLevelOf(const QList<FavorNode>& tree)
{
    QList<FavorTreeItem> items;
    for (const FavorNode& node : tree)
        items.append(node.item);
    return items;
}

// Keeps the warnings of one logging category while it lives.
class WarningCatcher
{
public:
    explicit WarningCatcher(const char* category)
    {
        s_category = category;
        s_caught.clear();
        m_previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& text) {
            if (type == QtWarningMsg && qstrcmp(context.category, s_category) == 0)
                s_caught.append(text);
        });
    }
    ~WarningCatcher() { qInstallMessageHandler(m_previous); }
    const QStringList& caught() const { return s_caught; }

private:
    static inline const char* s_category = nullptr;
    static inline QStringList s_caught;
    QtMessageHandler m_previous;
};

// What a pop-up menu offered when it came: each item's text and command ("-" for a
// separator). The menu is closed, or the item named `choose` is chosen.
struct MenuWatch {
    QStringList items;
    bool shown = false;
};

std::shared_ptr<MenuWatch> watchNextMenu(const QString& choose = QString(), int waitMs = 1500)
{
    auto watch = std::make_shared<MenuWatch>();
    auto* poll = new QTimer;
    auto elapsed = std::make_shared<QElapsedTimer>();
    elapsed->start();
    QObject::connect(poll, &QTimer::timeout, [poll, watch, choose, elapsed, waitMs] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (elapsed->elapsed() > waitMs) {
                poll->stop();
                poll->deleteLater();
            }
            return;
        }
        poll->stop();
        poll->deleteLater();
        watch->shown = true;
        QAction* chosen = nullptr;
        for (QAction* a : menu->actions()) {
            watch->items.append(a->isSeparator() ? QStringLiteral("-")
                                                 : QStringLiteral("%1 %2").arg(a->text()).arg(a->data().toInt()));
            if (!choose.isEmpty() && a->text() == choose)
                chosen = a;
        }
        if (chosen)
            chosen->trigger();
        menu->close();
    });
    poll->start(10);
    return watch;
}

} // namespace


// A side bar on a window of its own, over the favorites of an isolated database.
struct BarHost {
    CFavoritesDatabase store;
    QMainWindow window;
    CWorkspaceBar* bar;

    BarHost()
        : bar(new CWorkspaceBar(&store, &window))
    {
        window.setCentralWidget(new QWidget);
        bar->Create(&window);
        bar->SetupImages();
        bar->FillTrees();
        window.resize(800, 600);
        window.show();
        // A constructor cannot fail the test; the checks that follow do when these time out.
        if (!QTest::qWaitForWindowExposed(&window))
            qWarning("the test window was not exposed");
        bar->show();
        // The dock layout gives the bar its width on the next pass of the event loop.
        if (!QTest::qWaitFor([this] { return tree()->viewport()->width() > 100; }, 2000))
            qWarning("the side bar did not get its width");
    }

    CCoolTreeCtrl* tree() const { return bar->FavorTree(); }

    QTreeWidgetItem* node(const QString& path) const
    {
        // "Games/A": a favorite under its category; "C": a top-level node.
        const QStringList names = path.split(QLatin1Char('/'));
        for (int i = 0; i < tree()->topLevelItemCount(); ++i) {
            QTreeWidgetItem* top = tree()->topLevelItem(i);
            if (CWorkspaceBar::ItemOf(top).m_strName != names[0])
                continue;
            if (names.size() == 1)
                return top;
            for (int j = 0; j < top->childCount(); ++j) {
                if (CWorkspaceBar::ItemOf(top->child(j)).m_strName == names[1])
                    return top->child(j);
            }
        }
        return nullptr;
    }

    QPoint centreOf(const QTreeWidgetItem* item) const { return tree()->visualItemRect(item).center(); }
};

// Games(1) holds A and B, News(2) holds nothing, C is outside any category; two sites.
void seedDatabase()
{
    QVERIFY(BrowserData::AddVisitClass(QStringLiteral("Games")));
    QVERIFY(BrowserData::AddVisitClass(QStringLiteral("News")));
    QCOMPARE(BrowserData::AddFavor(QStringLiteral("A"), QStringLiteral("http://a.example/"), 1), 1);
    QCOMPARE(BrowserData::AddFavor(QStringLiteral("B"), QStringLiteral("http://b.example/"), 1), 2);
    QCOMPARE(BrowserData::AddFavor(QStringLiteral("C"), QStringLiteral("http://c.example/"), -1), 3);
    CppSQLiteDB db;
    db.open(GetDataBasePathName());
    db.execDML("insert into sites(siteurl, sitename, siteimage) values(?, ?, '')",
               {QStringLiteral("kids.example"), QStringLiteral("Kids")});
    db.execDML("insert into sites(siteurl, sitename, siteimage) values(?, ?, '')",
               {QStringLiteral("http://zoo.example/"), QStringLiteral("Zoo \u202Eevil")});
}

QString databaseFavors()
{
    QList<FavorRecord> favors;
    BrowserData::GetFavors(favors);
    return describeFavors(favors);
}

QString databaseClasses()
{
    QList<VisitClassRecord> classes;
    BrowserData::GetVisitClasses(classes);
    return describeClasses(classes);
}

class TestFavorites : public QObject
{
    Q_OBJECT

    std::unique_ptr<IsolatedEnvironment> m_env;

private slots:
    void init()
    {
        m_env = std::make_unique<IsolatedEnvironment>();
        BrowserData::SetDataBasePath(GetDataBasePathName());
    }
    void cleanup() { m_env.reset(); }

    void buildTree_data()
    {
        QTest::addColumn<QString>("classes");
        QTest::addColumn<QString>("favors");
        QTest::addColumn<QString>("tree");
        QTest::newRow("favorites under their categories, in the order read")
            << "1:X 2:Y" << "A@2 B@1 C@-1 D@2" << "X[B] Y[A D] C";
        QTest::newRow("clsid -1 on top after the categories") << "1:Games" << "C@-1 A@1" << "Games[A] C";
        QTest::newRow("a clsid naming no category on top, as after a restart")
            << "1:Games" << "A@7 B@1" << "Games[B] A";
        QTest::newRow("a category without a name is left out; its favorites go on top")
            << "1: 2:News" << "A@1 B@2" << "News[B] A";
        QTest::newRow("two categories of one name keep their own favorites") << "1:Games 2:Games" << "A@2 B@1"
                                                                               << "Games[B] Games[A]";
        QTest::newRow("empty database") << "" << "" << "";
        QTest::newRow("categories without favorites") << "3:Zoo 1:Art" << "" << "Zoo[] Art[]";
    }
    void buildTree()
    {
        QFETCH(QString, classes);
        QFETCH(QString, favors);
        QFETCH(QString, tree);
        const QList<FavorNode> built = Favorites::BuildFavorTree(parseClasses(classes), parseFavors(favors));
        QCOMPARE(describe(built), tree);
        // Each node keeps its own record: kind, name, address and id.
        for (const FavorNode& node : built) {
            for (const FavorNode& child : node.children) {
                QVERIFY(child.item.IsFavorite());
                QCOMPARE(child.item.m_strUrl, QStringLiteral("http://%1/").arg(child.item.m_strName.toLower()));
                QVERIFY(child.item.m_nId >= 101);
            }
        }
    }

    void findCategoryNode_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("index");
        QTest::newRow("same case") << "Games" << 0;
        QTest::newRow("other case, blanks around") << "  gAMES\t" << 0;
        QTest::newRow("a favorite of that name is passed over") << "News" << 3;
        QTest::newRow("a node named with blanks around matches trimmed") << "Art" << 4;
        QTest::newRow("empty never matches, not even a blank node") << "" << -1;
        QTest::newRow("blank never matches") << "   " << -1;
        QTest::newRow("no such category") << "Music" << -1;
    }
    void findCategoryNode()
    {
        QFETCH(QString, category);
        QFETCH(int, index);
        const QList<FavorTreeItem> top{
            {FavorTreeItem::kCategory, "Games", QString(), 1}, {FavorTreeItem::kFavorite, "News", "http://n/", 5},
            {FavorTreeItem::kCategory, "  ", QString(), 2},    {FavorTreeItem::kCategory, "news", QString(), 3},
            {FavorTreeItem::kCategory, " Art ", QString(), 4}, {FavorTreeItem::kCategory, "games", QString(), 6},
        };
        QCOMPARE(Favorites::FindCategoryNode(top, category), index);
    }

    void addFavor_data()
    {
        QTest::addColumn<QString>("classes");
        QTest::addColumn<QString>("favors");
        QTest::addColumn<QString>("category");
        QTest::addColumn<int>("fail");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("storedFavors");
        QTest::addColumn<QString>("storedClasses");
        QTest::addColumn<QString>("afterRestart");
        const int none = int(FakeStore::Fail::None);
        QTest::newRow("empty category: on top, clsid -1, no category made")
            << "1:Games" << "" << "" << none << "Games[] New" << "New@-1" << "1:Games" << "Games[] New";
        QTest::newRow("new category: its node last on top, the favorite in it")
            << "1:Games" << "A@1" << "Music" << none << "Games[A] Music[New]" << "A@1 New@2" << "1:Games 2:Music"
            << "Games[A] Music[New]";
        QTest::newRow("existing category: no second one") << "1:Games 2:News" << "" << "News" << none
                                                          << "Games[] News[New]" << "New@2" << "1:Games 2:News"
                                                          << "Games[] News[New]";
        QTest::newRow("Games present, games typed: a new category, the node under Games")
            << "1:Games" << "" << "games" << none << "Games[New] games[]" << "New@2" << "1:Games 2:games"
            << "Games[] games[New]";
        QTest::newRow("a favorite named like the category takes no children")
            << "" << "Games@-1" << "Games" << none << "Games Games[New]" << "Games@-1 New@1" << "1:Games"
            << "Games[New] Games";
        QTest::newRow("category not stored: nothing stored, the node kept on top")
            << "1:Games" << "" << "Music" << int(FakeStore::Fail::AddClass) << "Games[] New" << "" << "1:Games"
            << "Games[]";
        QTest::newRow("category not stored: the node under a category of that name")
            << "1:Games" << "" << "GAMES" << int(FakeStore::Fail::AddClass) << "Games[New]" << "" << "1:Games"
            << "Games[]";
        QTest::newRow("favorite not stored: its node kept, gone after a restart")
            << "1:Games" << "" << "Games" << int(FakeStore::Fail::AddFavor) << "Games[New]" << "" << "1:Games"
            << "Games[]";
        QTest::newRow("favorite on top not stored") << "1:Games" << "" << "" << int(FakeStore::Fail::AddFavor)
                                                    << "Games[] New" << "" << "1:Games" << "Games[]";
        QTest::newRow("categories unreadable: nothing stored") << "1:Games" << "" << "Games"
                                                               << int(FakeStore::Fail::Read) << "Games[New]" << ""
                                                               << "1:Games" << "Games[]";
    }
    void addFavor()
    {
        QFETCH(QString, classes);
        QFETCH(QString, favors);
        QFETCH(QString, category);
        QFETCH(int, fail);
        QFETCH(QString, tree);
        QFETCH(QString, storedFavors);
        QFETCH(QString, storedClasses);
        QFETCH(QString, afterRestart);
        FakeStore store;
        store.classes = parseClasses(classes);
        store.favors = parseFavors(favors);
        store.nextClassId = int(store.classes.size()) + 1;
        QList<FavorNode> shown = Favorites::BuildFavorTree(store.classes, store.favors);
        store.fail = FakeStore::Fail(fail);

        const AddFavorPlan plan = Favorites::AddFavor(topLevelOf(shown), QStringLiteral("New"),
                                                      QStringLiteral("http://new/ "), category, store);
        Favorites::ApplyAddFavor(shown, plan);
        QCOMPARE(describe(shown), tree);
        QCOMPARE(plan.stored, fail == int(FakeStore::Fail::None));
        QCOMPARE(plan.favor.m_nKind, int(FavorTreeItem::kFavorite));
        QCOMPARE(plan.favor.m_strUrl, QStringLiteral("http://new/ ")); // as the address box showed it
        QCOMPARE(plan.favor.m_nId == -1, !plan.stored);
        if (plan.newCategory)
            QCOMPARE(plan.newCategory->m_nId, store.classes.last().m_nClsId);

        store.fail = FakeStore::Fail::None;
        QCOMPARE(describeFavors(store.favors), storedFavors);
        QCOMPARE(describeClasses(store.classes), storedClasses);
        QCOMPARE(describe(Favorites::BuildFavorTree(store.classes, store.favors)), afterRestart);
    }

    void deleteFromStore_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("deletes");
        QTest::addColumn<bool>("result");
        QTest::newRow("favorite by its favorid") << int(FavorTreeItem::kFavorite) << 5 << "favorite 5" << true;
        QTest::newRow("category with its favorites") << int(FavorTreeItem::kCategory) << 2 << "category 2" << true;
        // Deleting category -1 would take every favorite outside a category with it.
        QTest::newRow("category never stored deletes nothing") << int(FavorTreeItem::kCategory) << -1 << "" << false;
        QTest::newRow("favorite never stored deletes nothing") << int(FavorTreeItem::kFavorite) << -1 << "" << false;
    }
    void deleteFromStore()
    {
        QFETCH(int, kind);
        QFETCH(int, id);
        QFETCH(QString, deletes);
        QFETCH(bool, result);
        FakeStore store;
        QCOMPARE(Favorites::DeleteFromStore(FavorTreeItem{kind, "x", QString(), id}, store), result);
        QCOMPARE(store.deletes.join(QLatin1Char(',')), deletes);
    }

    void favorNameCheck_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("refused");
        QTest::newRow("empty") << "" << true;
        QTest::newRow("blanks") << "   " << true;
        QTest::newRow("tabs and line breaks") << "\t\r\n" << true;
        QTest::newRow("ideographic space") << QStringLiteral("\u3000\u3000") << true;
        QTest::newRow("a name") << "Zoo" << false;
        QTest::newRow("a name in blanks") << "  动物  " << false;
    }
    void favorNameCheck()
    {
        QFETCH(QString, typed);
        QFETCH(bool, refused);
        const std::optional<Favorites::Refusal> refusal = Favorites::CheckFavorName(typed);
        QCOMPARE(refusal.has_value(), refused);
        if (refusal) {
            QCOMPARE(refusal->text, QStringLiteral("收藏的名字不能为空!"));
            QCOMPARE(refusal->caption, QStringLiteral("提示"));
        }
    }

    void shownText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "Zoo 动物" << "Zoo 动物";
        QTest::newRow("right-to-left override") << QStringLiteral("exe.\u202Etxt") << "exe.<U+202E>txt";
        QTest::newRow("isolates and marks")
            << QStringLiteral("a\u2066b\u2069c\u200Fd\u061C") << "a<U+2066>b<U+2069>c<U+200F>d<U+061C>";
        QTest::newRow("line breaks become blanks") << "a\nb\r\nc" << "a b  c";
        QTest::newRow("quotes and format characters stay") << "it's \"%s\" %d %1" << "it's \"%s\" %d %1";
    }
    void shownText()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(Favorites::ShownText(text), shown);
    }

    void categoryChoices()
    {
        const QList<VisitClassRecord> classes = parseClasses("1:games 2:Art 3: 4:Zoo 5:Games 6:art 7:Zoo");
        // Sorted without regard to case, equal ones in the order read; empty and repeated left out.
        QCOMPARE(Favorites::CategoryChoices(classes), QStringList({"Art", "art", "games", "Games", "Zoo"}));
    }

    // Texts that could break a statement, a format or the reading order come back exactly
    // as they went in, through the real database and a "restart" (a fresh read).
    void awkwardTextsSurviveTheDatabase_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("category");
        QTest::newRow("quotes") << "it's \"ours\"" << "http://q.example/?a='1'" << "Tom's";
        QTest::newRow("format characters") << "%s %d %n %1 %%" << "http://f.example/%s%d" << "%s";
        QTest::newRow("statement text") << "x'); delete from favors; --" << "http://s.example/" << "'); --";
        QTest::newRow("direction characters")
            << QStringLiteral("gnp.\u202Eexe") << QStringLiteral("http://\u202Elive.example/")
            << QStringLiteral("\u202Ecat");
        QTest::newRow("markup") << QStringLiteral("<b>x</b>") << QStringLiteral("http://m.example/<img src=x>")
                                << QStringLiteral("<i>c</i>");
        QTest::newRow("very long") << QString(5000, QLatin1Char('n')) << "http://l.example/" + QString(3000, 'p')
                                   << QString(2000, QLatin1Char('c'));
    }
    void awkwardTextsSurviveTheDatabase()
    {
        QFETCH(QString, name);
        QFETCH(QString, url);
        QFETCH(QString, category);
        CFavoritesDatabase store;
        QVERIFY(Favorites::AddFavor({}, QStringLiteral("first"), QStringLiteral("http://1/"), QString(), store).stored);
        const AddFavorPlan plan = Favorites::AddFavor({}, name, url, category, store);
        QVERIFY(plan.stored);
        QVERIFY(plan.newCategory);
        const QList<FavorNode> reread = Favorites::BuildFavorTree(*store.GetVisitClasses(), *store.GetFavors());
        QCOMPARE(reread.size(), 2);
        QCOMPARE(reread[0].item.m_strName, category);
        QCOMPARE(reread[0].children.size(), 1);
        QCOMPARE(reread[0].children[0].item, plan.favor);
        QCOMPARE(reread[1].item.m_strName, QStringLiteral("first")); // nothing else was touched

        BarHost host;
        const QTreeWidgetItem* categoryNode = host.tree()->topLevelItem(0);
        QCOMPARE(categoryNode->text(0), Favorites::ShownText(category));
        QCOMPARE(categoryNode->child(0)->text(0), Favorites::ShownText(name));
        QTextDocument tip;
        tip.setHtml(categoryNode->child(0)->toolTip(0));
        QCOMPARE(tip.toPlainText(), Favorites::ShownText(url));
        QCOMPARE(CWorkspaceBar::ItemOf(categoryNode->child(0)).m_strName, name);
    }

    void dialogRefusesBlankNames_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("empty") << "";
        QTest::newRow("blanks") << "    ";
        QTest::newRow("ideographic spaces") << QStringLiteral("\u3000");
    }
    void dialogRefusesBlankNames()
    {
        QFETCH(QString, typed);
        MessageRecorder boxes;
        CFavoritesDatabase store;
        CAddFavorDlg dialog(QStringLiteral("Page"), QStringLiteral("http://p/"), &store);
        dialog.show();
        dialog.NameEdit()->setText(typed);
        dialog.OkButton()->click();
        QCOMPARE(boxes.count(), 1);
        QCOMPARE(boxes.last().text, QStringLiteral("收藏的名字不能为空!"));
        QCOMPARE(boxes.last().caption, QStringLiteral("提示"));
        QCOMPARE(boxes.last().icon, MsgIcon::Error);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        // Enter in the name box asks the same.
        QTest::keyClick(dialog.NameEdit(), Qt::Key_Return);
        QCOMPARE(boxes.count(), 2);
        QVERIFY(dialog.isVisible());
        QCOMPARE(databaseFavors(), QString());
    }

    void dialogKeepsTrimmedNameAndCategory_data()
    {
        QTest::addColumn<bool>("byEnterInCategory");
        QTest::newRow("确定") << false;
        QTest::newRow("Enter in the category box") << true;
    }
    void dialogKeepsTrimmedNameAndCategory()
    {
        QFETCH(bool, byEnterInCategory);
        MessageRecorder boxes;
        CFavoritesDatabase store;
        CAddFavorDlg dialog(QStringLiteral("Proposed title"), QStringLiteral(" http://p.example/ "), &store);
        dialog.show();
        QCOMPARE(dialog.NameEdit()->text(), QStringLiteral("Proposed title"));
        dialog.NameEdit()->setText(QStringLiteral("  Zoo\t"));
        dialog.CategoryBox()->setEditText(QStringLiteral("  Animals  "));
        if (byEnterInCategory)
            QTest::keyClick(dialog.CategoryBox()->lineEdit(), Qt::Key_Return);
        else
            dialog.OkButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(boxes.count(), 0);
        QCOMPARE(dialog.Name(), QStringLiteral("Zoo"));
        QCOMPARE(dialog.Category(), QStringLiteral("Animals"));
        QCOMPARE(dialog.Url(), QStringLiteral(" http://p.example/ "));
        // The category box never keeps what was typed as one of its own items.
        QCOMPARE(dialog.CategoryBox()->findText(QStringLiteral("  Animals  ")), -1);
    }

    void dialogCancelStoresNothing()
    {
        CFavoritesDatabase store;
        CAddFavorDlg dialog(QStringLiteral("Page"), QStringLiteral("http://p/"), &store);
        dialog.show();
        dialog.CancelButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.Name(), QStringLiteral("Page"));
        QCOMPARE(dialog.Category(), QString());
    }

    void dialogRefillsCategoriesEachTimeItShows()
    {
        for (const char* name : {"b", "A", "c", "b"})
            QVERIFY(BrowserData::AddVisitClass(QString::fromUtf8(name)));
        CFavoritesDatabase store;
        CAddFavorDlg dialog(QStringLiteral("Page"), QStringLiteral("http://p/"), &store);
        const auto items = [&dialog] {
            QStringList list;
            for (int i = 0; i < dialog.CategoryBox()->count(); ++i)
                list.append(dialog.CategoryBox()->itemText(i));
            return list;
        };
        QCOMPARE(items(), QStringList());
        dialog.show();
        QCOMPARE(items(), QStringList({"A", "b", "c"}));
        QCOMPARE(dialog.CategoryBox()->currentText(), QString()); // nothing chosen for the child
        dialog.hide();
        QVERIFY(BrowserData::AddVisitClass(QStringLiteral("Aa")));
        QVERIFY(BrowserData::AddVisitClass(QStringLiteral("d\u202Eevil")));
        dialog.show();
        QCOMPARE(items(), QStringList({"A", "Aa", "b", "c", "d<U+202E>evil"}));
        // Picking a name shown with its direction codes gives the stored name back.
        dialog.CategoryBox()->setCurrentIndex(4);
        dialog.OkButton()->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.Category(), QStringLiteral("d\u202Eevil"));
    }

    void dialogControls()
    {
        CFavoritesDatabase store;
        CAddFavorDlg dialog(QStringLiteral("Page"), QStringLiteral("http://p/"), &store);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("添加到收藏夹"));
        QVERIFY(dialog.windowFlags() & Qt::WindowStaysOnTopHint);
        QCOMPARE(dialog.findChild<Pellora::CCoolEdit*>(QStringLiteral("1009")), dialog.NameEdit());
        QCOMPARE(dialog.findChild<Pellora::CCoolComoBox*>(QStringLiteral("1007")), dialog.CategoryBox());
        QVERIFY(dialog.CategoryBox()->isEditable());
        QStringList texts;
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            texts.append(label->text());
        QCOMPARE(texts, QStringList({"将该网页添加到你的收藏列表中", "名称:", "分类:", "提示:输入分类为空，将被收藏到根目录下"}));
        QCOMPARE(dialog.OkButton()->text(), QStringLiteral("确定"));
        QCOMPARE(dialog.CancelButton()->text(), QStringLiteral("取消"));
        QVERIFY(dialog.OkButton()->isDefault());
        QCOMPARE(dialog.NameEdit()->MinHeight(), 20);
        QCOMPARE(dialog.NameEdit()->BorderWidth(), 12);
    }

    // The side bar's pictures ship beside the browser: 16 x 16, see-through at the
    // corner, solid in the middle, each its own.
    void treePicturesAreShipped()
    {
        QList<QImage> seen;
        for (const char* name : {"favfolderclosed.png", "favfolderopen.png", "favwebpage.png", "favtabstar.png"}) {
            const QImage image(SkinFiles::CommonPicture(name));
            QVERIFY2(!image.isNull(), name);
            QCOMPARE(image.size(), QSize(16, 16));
            QVERIFY(image.hasAlphaChannel());
            QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
            QCOMPARE(qAlpha(image.pixel(8, 9)), 255);
            QVERIFY2(!seen.contains(image), name);
            seen.append(image);
        }
    }

    void barFillsItsTreesFromTheDatabase()
    {
        seedDatabase();
        BarHost host;
        CWorkspaceBar* bar = host.bar;
        QCOMPARE(bar->windowTitle(), QStringLiteral("工作区"));
        QCOMPARE(bar->objectName(), QStringLiteral("123"));
        QCOMPARE(bar->TabCtrl()->objectName(), QStringLiteral("125"));
        QCOMPARE(bar->TabCtrl()->GetPageCount(), 2);
        QCOMPARE(bar->TabCtrl()->GetPageItem(0)->m_strText, QStringLiteral("收藏夹"));
        QCOMPARE(bar->TabCtrl()->GetPageItem(1)->m_strText, QStringLiteral("推荐页"));
        QCOMPARE(bar->TabCtrl()->GetPageItem(0)->m_pWnd.data(), static_cast<QWidget*>(bar->FavorTree()));
        QCOMPARE(bar->TabCtrl()->GetPageItem(1)->m_pWnd.data(), static_cast<QWidget*>(bar->SiteTree()));
        QVERIFY(!bar->TabCtrl()->GetPageItem(0)->m_hIcon.isNull());
        QCOMPARE(bar->FavorTree()->objectName(), QStringLiteral("1012"));
        QCOMPARE(bar->SiteTree()->objectName(), QStringLiteral("1013"));
        QVERIFY(!qobject_cast<CCoolTreeCtrl*>(bar->SiteTree()));
        for (int i = 0; i < 3; ++i)
            QVERIFY2(!bar->Icon(CWorkspaceBar::Image(i)).isNull(), "a picture of Common/ is missing");

        QCOMPARE(describe(bar->FavorTreeData()), QStringLiteral("Games[A B] News[] C"));
        QCOMPARE(CWorkspaceBar::ItemOf(host.node("Games")), (FavorTreeItem{FavorTreeItem::kCategory, "Games", {}, 1}));
        QCOMPARE(CWorkspaceBar::ItemOf(host.node("Games/B")),
                 (FavorTreeItem{FavorTreeItem::kFavorite, "B", "http://b.example/", 2}));
        QCOMPARE(host.node("Games")->icon(0).cacheKey(), bar->Icon(CWorkspaceBar::kClosedFolder).cacheKey());
        QCOMPARE(host.node("C")->icon(0).cacheKey(), bar->Icon(CWorkspaceBar::kWebPage).cacheKey());
        QVERIFY(!(host.node("C")->flags() & (Qt::ItemIsEditable | Qt::ItemIsDragEnabled)));

        QTreeWidget* sites = bar->SiteTree();
        QCOMPARE(sites->topLevelItemCount(), 2);
        QCOMPARE(sites->topLevelItem(0)->text(0), QStringLiteral("Kids"));
        QCOMPARE(CWorkspaceBar::SiteOf(sites->topLevelItem(0)), (SiteLink{"Kids", "kids.example"}));
        QCOMPARE(sites->topLevelItem(1)->text(0), QStringLiteral("Zoo <U+202E>evil"));
        QCOMPARE(CWorkspaceBar::SiteOf(sites->topLevelItem(1)).m_strSiteName, QStringLiteral("Zoo \u202Eevil"));
        QCOMPARE(sites->topLevelItem(1)->icon(0).cacheKey(), bar->Icon(CWorkspaceBar::kWebPage).cacheKey());
    }

    void skinReachesTheBar()
    {
        using Pellora::CSurfaceManager;
        BarHost host;
        const unsigned long saved = CSurfaceManager::m_CoolTabCtrlBkColor;
        const auto restore = qScopeGuard([saved] { CSurfaceManager::m_CoolTabCtrlBkColor = saved; });
        CSurfaceManager::m_CoolTabCtrlBkColor = Pellora::MakeColorRef(12, 34, 56);
        host.bar->ApplySkin();
        QCOMPARE(host.bar->GetBackColor(), Pellora::MakeColorRef(12, 34, 56));
        QCOMPARE(host.bar->TabCtrl()->GetBackgroundColor(), Pellora::MakeColorRef(12, 34, 56));
    }

    // The node expanded or collapsed changes its picture, whichever node is selected.
    void folderPicturesFollowExpansion()
    {
        seedDatabase();
        QVERIFY(BrowserData::AddFavor(QStringLiteral("N"), QStringLiteral("http://n/"), 2) > 0);
        BarHost host;
        QTreeWidgetItem* games = host.node("Games");
        QTreeWidgetItem* news = host.node("News");
        const qint64 closed = host.bar->Icon(CWorkspaceBar::kClosedFolder).cacheKey();
        const qint64 open = host.bar->Icon(CWorkspaceBar::kOpenFolder).cacheKey();
        host.tree()->setCurrentItem(news);
        games->setExpanded(true);
        QCOMPARE(games->icon(0).cacheKey(), open);
        QCOMPARE(news->icon(0).cacheKey(), closed);
        QTest::mouseClick(host.tree()->viewport(), Qt::LeftButton, {}, host.centreOf(news));
        QTest::mouseDClick(host.tree()->viewport(), Qt::LeftButton, {}, host.centreOf(news));
        QVERIFY(news->isExpanded());
        QCOMPARE(news->icon(0).cacheKey(), open);
        games->setExpanded(false);
        QCOMPARE(games->icon(0).cacheKey(), closed);
        QCOMPARE(news->icon(0).cacheKey(), open);
        QCOMPARE(host.node("C")->icon(0).cacheKey(), host.bar->Icon(CWorkspaceBar::kWebPage).cacheKey());
    }

    void rightClickMenus_data()
    {
        QTest::addColumn<QString>("node"); // empty: a spot below the last node
        QTest::addColumn<QStringList>("items");
        QTest::newRow("favorite") << "Games/A" << QStringList({"打开该Web页 32773", "-", "删除该Web页 32771"});
        QTest::newRow("favorite on top") << "C" << QStringList({"打开该Web页 32773", "-", "删除该Web页 32771"});
        QTest::newRow("category") << "News" << QStringList({"删除收藏种类 32772"});
        QTest::newRow("empty space: no menu") << "" << QStringList();
    }
    void rightClickMenus()
    {
        QFETCH(QString, node);
        QFETCH(QStringList, items);
        seedDatabase();
        BarHost host;
        host.node("Games")->setExpanded(true);
        host.tree()->setCurrentItem(host.node("Games/B"));
        QVERIFY(QTest::qWaitForWindowExposed(&host.window));
        const QRect last = host.tree()->visualItemRect(host.node("C"));
        const QPoint at =
            node.isEmpty() ? QPoint(last.center().x(), last.bottom() + 40) : host.centreOf(host.node(node));
        QVERIFY(host.tree()->viewport()->rect().contains(at));

        QSignalSpy commands(host.bar, &CWorkspaceBar::command);
        const auto watch = watchNextMenu();
        QTest::mousePress(host.tree()->viewport(), Qt::RightButton, {}, at);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, host.tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(host.tree()->viewport(), &menuEvent);
        QTest::mouseRelease(host.tree()->viewport(), Qt::RightButton, {}, at);
        QTRY_VERIFY_WITH_TIMEOUT(watch.use_count() == 1 || watch->shown, 3000);
        QTest::qWait(50);
        QCOMPARE(watch->items, items);
        QCOMPARE(watch->shown, !items.isEmpty());
        QCOMPARE(commands.size(), 0); // closed without a choice
        // The node right-clicked is the one selected; empty space keeps the selection.
        const QList<QTreeWidgetItem*> selected = host.tree()->selectedItems();
        QCOMPARE(selected.size(), 1);
        QCOMPARE(selected.first(), host.node(node.isEmpty() ? QStringLiteral("Games/B") : node));
    }

    void menuChoicesReachTheFrame()
    {
        seedDatabase();
        BarHost host;
        host.node("Games")->setExpanded(true);
        QSignalSpy commands(host.bar, &CWorkspaceBar::command);
        const QPoint at = host.centreOf(host.node("Games/A"));
        const auto watch = watchNextMenu(QStringLiteral("删除该Web页"));
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, host.tree()->viewport()->mapToGlobal(at));
        QApplication::sendEvent(host.tree()->viewport(), &menuEvent);
        QTRY_VERIFY(watch->shown);
        QCOMPARE(commands.size(), 1);
        QCOMPARE(commands.first().first().toInt(), BrowserIds::kCmdFavorDelete);
    }

    void treeCommands_data()
    {
        QTest::addColumn<QString>("selected");
        QTest::addColumn<int>("command");
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("tree");
        QTest::addColumn<QString>("favors");
        QTest::addColumn<QString>("classes");
        const QString all = "Games[A B] News[] C";
        const QString allFavors = "A@1 B@1 C@-1";
        const QString allClasses = "1:Games 2:News";
        QTest::newRow("open a favorite") << "Games/B" << BrowserIds::kCmdFavorOpen << "http://b.example/" << all
                                         << allFavors << allClasses;
        QTest::newRow("open on a category does nothing")
            << "Games" << BrowserIds::kCmdFavorOpen << "" << all << allFavors << allClasses;
        QTest::newRow("delete a favorite") << "Games/A" << BrowserIds::kCmdFavorDelete << "" << "Games[B] News[] C"
                                           << "B@1 C@-1" << allClasses;
        QTest::newRow("delete a favorite on top")
            << "C" << BrowserIds::kCmdFavorDelete << "" << "Games[A B] News[]" << "A@1 B@1" << allClasses;
        QTest::newRow("delete-favorite on a category does nothing")
            << "Games" << BrowserIds::kCmdFavorDelete << "" << all << allFavors << allClasses;
        QTest::newRow("delete a category with its favorites, from tree and database at once")
            << "Games" << BrowserIds::kCmdFavorDeleteClass << "" << "News[] C" << "C@-1" << "2:News";
        QTest::newRow("delete-category on a favorite does nothing")
            << "Games/A" << BrowserIds::kCmdFavorDeleteClass << "" << all << allFavors << allClasses;
    }
    void treeCommands()
    {
        QFETCH(QString, selected);
        QFETCH(int, command);
        QFETCH(QString, opened);
        QFETCH(QString, tree);
        QFETCH(QString, favors);
        QFETCH(QString, classes);
        seedDatabase();
        BarHost host;
        host.tree()->setCurrentItem(host.node(selected));
        QSignalSpy opens(host.bar, &CWorkspaceBar::openAddress);
        QSignalSpy notices(host.bar, &CWorkspaceBar::notice);
        host.bar->OnFavorCommand(command);
        QCOMPARE(opens.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(opens.first().first().toString(), opened);
        QCOMPARE(describe(host.bar->FavorTreeData()), tree);
        QCOMPARE(databaseFavors(), favors);
        QCOMPARE(databaseClasses(), classes);
        QCOMPARE(notices.size(), 0);
    }

    void doubleClicksAndEnterOpen_data()
    {
        QTest::addColumn<bool>("sites");
        QTest::addColumn<QString>("node");
        QTest::addColumn<bool>("byEnter");
        QTest::addColumn<QString>("opened");
        QTest::newRow("favorite") << false << "C" << false << "http://c.example/";
        QTest::newRow("favorite by Enter") << false << "C" << true << "http://c.example/";
        QTest::newRow("category only expands") << false << "Games" << false << "";
        QTest::newRow("category by Enter opens nothing") << false << "Games" << true << "";
        QTest::newRow("recommended site, as stored") << true << "Kids" << false << "kids.example";
        QTest::newRow("recommended site by Enter") << true << "Kids" << true << "kids.example";
    }
    void doubleClicksAndEnterOpen()
    {
        QFETCH(bool, sites);
        QFETCH(QString, node);
        QFETCH(bool, byEnter);
        QFETCH(QString, opened);
        seedDatabase();
        BarHost host;
        QTreeWidget* tree = sites ? host.bar->SiteTree() : host.tree();
        if (sites)
            host.bar->TabCtrl()->SetActivePage(1);
        QTreeWidgetItem* item = sites ? tree->topLevelItem(0) : host.node(node);
        QSignalSpy opens(host.bar, &CWorkspaceBar::openAddress);
        if (byEnter) {
            tree->setCurrentItem(item);
            QTest::keyClick(tree, Qt::Key_Return);
        } else {
            const QPoint centre = tree->visualItemRect(item).center();
            QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, centre);
            QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, centre);
        }
        QCOMPARE(opens.size(), opened.isEmpty() ? 0 : 1);
        if (!opened.isEmpty())
            QCOMPARE(opens.first().first().toString(), opened);
        if (node == QLatin1String("Games") && !byEnter)
            QVERIFY(item->isExpanded());
    }

    void addFavoriteToTheBar()
    {
        seedDatabase();
        BarHost host;
        QSignalSpy notices(host.bar, &CWorkspaceBar::notice);
        host.bar->AddFavorite(QStringLiteral("D"), QStringLiteral("http://d/"), QStringLiteral("games"));
        host.bar->AddFavorite(QStringLiteral("E"), QStringLiteral("http://e/"), QString());
        host.bar->AddFavorite(QStringLiteral("F"), QStringLiteral("http://f/"), QStringLiteral("Music"));
        QCOMPARE(describe(host.bar->FavorTreeData()), QStringLiteral("Games[A B D] News[] C games[] E Music[F]"));
        QCOMPARE(databaseClasses(), QStringLiteral("1:Games 2:News 3:games 4:Music"));
        QCOMPARE(databaseFavors(), QStringLiteral("A@1 B@1 C@-1 D@3 E@-1 F@4"));
        QCOMPARE(host.node("Music")->icon(0).cacheKey(), host.bar->Icon(CWorkspaceBar::kClosedFolder).cacheKey());
        QCOMPARE(notices.size(), 0);
    }

    // A database that cannot be opened: nothing crashes, the child hears that the
    // favorite was not kept, and every absorbed failure is logged.
    void unusableDatabase()
    {
        QTemporaryDir folder;
        BrowserData::SetDataBasePath(folder.path()); // a folder, not a database file
        WarningCatcher warnings("lorvane.browser");
        BarHost host;
        QCOMPARE(host.tree()->topLevelItemCount(), 0);
        QCOMPARE(host.bar->SiteTree()->topLevelItemCount(), 0);
        QVERIFY(warnings.caught().size() >= 3);

        QSignalSpy notices(host.bar, &CWorkspaceBar::notice);
        const AddFavorPlan plan = host.bar->AddFavorite(QStringLiteral("D"), QStringLiteral("http://d/"), QString());
        QVERIFY(!plan.stored);
        QCOMPARE(describe(host.bar->FavorTreeData()), QStringLiteral("D"));
        QCOMPARE(CWorkspaceBar::ItemOf(host.tree()->topLevelItem(0)).m_nId, -1);
        QCOMPARE(notices.size(), 1);
        QVERIFY(!notices.first().first().toString().isEmpty());
        // Deleting what was never stored deletes nothing and says nothing.
        host.tree()->setCurrentItem(host.tree()->topLevelItem(0));
        host.bar->OnFavorCommand(BrowserIds::kCmdFavorDelete);
        QCOMPARE(host.tree()->topLevelItemCount(), 0);
        QCOMPARE(notices.size(), 1);

        CFavoritesDatabase store;
        CAddFavorDlg dialog(QStringLiteral("Page"), QStringLiteral("http://p/"), &store);
        dialog.show();
        QCOMPARE(dialog.CategoryBox()->count(), 0);
    }
};

QTEST_MAIN(TestFavorites)
#include "tst_favorites.moc"
