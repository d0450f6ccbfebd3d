#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <Qt>

// What every page of the browser may ask of the program through script: the object a
// page finds as window.external, and the shortcuts of the web view the program keeps
// from the page.

// The external object: seven names that a page can find, none of which does anything.
class CExternalDispatch
{
public:
    static constexpr int kDispIdUnknown = -1;
    enum class Result { Ok, UnknownName };

    struct Member {
        const char* name;
        int dispId;
    };
    static const QList<Member>& Members();

    // Every name in turn gets its dispatch id, compared with exact case; a name not
    // known gets kDispIdUnknown, the others are still resolved, and the result is then
    // UnknownName.
    static Result GetIDsOfNames(const QStringList& names, QList<int>* ids);

    // The script that gives a page its window.external: each member exists, and calling
    // one throws, as a member that is not implemented does.
    static QString PageScript();
};

// The shortcuts the program takes from every web view before the page sees them: F5
// (refresh), and Ctrl with O, P or N (open, print, new window). True when the key is
// consumed.
bool TranslateAccelerator(int key, Qt::KeyboardModifiers modifiers);
