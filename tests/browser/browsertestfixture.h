#pragma once

#include "browserconfig.h"
#include "browserdata.h"
#include "configmanager.h"
#include "cppsqlitedb.h"
#include "cppsqlitequery.h"
#include "isolatedenvironment.h"
#include "managerdata.h"
#include "paths.h"

#include <QList>
#include <QString>
#include <QWebEnginePage>
#include <QtTest>

#include <cstring>

// What a browser test starts from: its own user folders and database, the shared
// configuration record with the given switch and home page, and helpers to read
// the history and to ask a page a question.
struct HistoryRow {
    QString beginTime;
    int seconds;
    QString address;
};

inline void ResetBrowserConfig(int onlyChildSites, const QString& homePage)
{
    CConfigManager& c = BrowserConfig();
    std::memset(&c.m_record, 0, sizeof c.m_record);
    c.SetDefaultConfig();
    c.m_record.m_bOnlyChildSites = onlyChildSites;
    const QByteArray home = homePage.toUtf8();
    std::strncpy(c.m_record.m_szHomePage, home.constData(), sizeof c.m_record.m_szHomePage - 1);
}

inline void UseDatabaseOf(const IsolatedEnvironment&)
{
    BrowserData::SetDataBasePath(GetDataBasePathName());
    ManagerData::SetDataBasePath(GetDataBasePathName());
}

inline QList<HistoryRow> HistoryRows()
{
    QList<HistoryRow> rows;
    CppSQLiteDB db;
    db.open(GetDataBasePathName());
    CppSQLiteQuery q = db.execQuery("select beginTime, delayTime, visitURL from history order by historyID");
    for (; !q.eof(); q.nextRow())
        rows.append({q.fieldValue(0), q.fieldValue(1).toInt(), q.fieldValue(2)});
    return rows;
}

inline QStringList HistoryAddresses()
{
    QStringList out;
    for (const HistoryRow& r : HistoryRows())
        out.append(r.address);
    return out;
}

// Runs a script in the page and waits for its answer.
inline QVariant Evaluate(QWebEnginePage* page, const QString& script)
{
    auto result = std::make_shared<QVariant>();
    auto done = std::make_shared<bool>(false);
    page->runJavaScript(script, [result, done](const QVariant& v) {
        *result = v;
        *done = true;
    });
    // No answer within 20 seconds reads as no value.
    return QTest::qWaitFor([&done] { return *done; }, 20000) ? *result : QVariant();
}
