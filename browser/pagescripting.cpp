#include "pagescripting.h"

#include <QJsonArray>
#include <QJsonDocument>

const QList<CExternalDispatch::Member>& CExternalDispatch::Members()
{
    static const QList<Member> members{
        {"CB_IsOurCustomBrowser", 1}, {"CB_Close", 2},           {"CB_CustomFunction", 3},
        {"CB_CustomFunctionWithParams", 4}, {"CB_OpenWindow", 5}, {"CB_ShowModalDialog", 6},
        {"CB_ShowModelessDialog", 7},
    };
    return members;
}

CExternalDispatch::Result CExternalDispatch::GetIDsOfNames(const QStringList& names, QList<int>* ids)
{
    Result result = Result::Ok;
    ids->clear();
    for (const QString& name : names) {
        int id = kDispIdUnknown;
        for (const Member& m : Members()) {
            if (name == QLatin1String(m.name)) {
                id = m.dispId;
                break;
            }
        }
        if (id == kDispIdUnknown)
            result = Result::UnknownName;
        ids->append(id);
    }
    return result;
}

QString CExternalDispatch::PageScript()
{
    QStringList names;
    for (const Member& m : Members())
        names.append(QLatin1String(m.name));
    QList<int> ids;
    GetIDsOfNames(names, &ids);
    QJsonArray table;
    for (qsizetype i = 0; i < names.size(); ++i)
        table.append(QJsonArray{names[i], ids[i]});
    const QString members = QString::fromUtf8(QJsonDocument(table).toJson(QJsonDocument::Compact));
    // A page may look the members up but gets nothing done through them; the object is
    // frozen so that a script cannot hang functions of its own on it either.
    return QStringLiteral("(function () {"
                          "  'use strict';"
                          "  var external = {};"
                          "  %1.forEach(function (m) {"
                          "    Object.defineProperty(external, m[0], { enumerable: true, value: function () {"
                          "      throw new Error(m[0] + ' (' + m[1] + ') is not implemented');"
                          "    } });"
                          "  });"
                          "  Object.freeze(external);"
                          "  Object.defineProperty(window, 'external', { value: external, writable: false,"
                          "                                              configurable: false });"
                          "})();")
        .arg(members);
}

bool TranslateAccelerator(int key, Qt::KeyboardModifiers modifiers)
{
    if (key == Qt::Key_F5)
        return true;
    return modifiers.testFlag(Qt::ControlModifier) && (key == Qt::Key_O || key == Qt::Key_P || key == Qt::Key_N);
}
