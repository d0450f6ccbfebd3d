#pragma once

#include "pellora_export.h"

#include <QDockWidget>
#include <QList>
#include <QSize>
#include <QString>

class QMainWindow;

namespace Pellora {

// The three sizes a bar remembers: docked at the top or bottom (width along the row,
// height across it), docked at the left or right (width across the column, height
// along it) and floating.
struct BarSizes {
    QSize horzDocked{200, 200};
    QSize vertDocked{200, 200};
    QSize floating{200, 200};
    friend bool operator==(const BarSizes&, const BarSizes&) = default;
};

// The smallest sizes a bar may take.
inline constexpr QSize kBarHorzMin{33, 32};
inline constexpr QSize kBarVertMin{33, 32};
inline constexpr QSize kBarFloatMin{37, 32};

// Each size raised to its minimum, per dimension.
PELLORA_EXPORT BarSizes ClampBarSizes(BarSizes sizes);
// The profile section of a bar: "<profile>-SCBar-<barId>".
PELLORA_EXPORT QString ControlBarSection(const QString& profile, int barId);
// The INI file the bars' sizes are kept in, in the user's configuration folder.
PELLORA_EXPORT QString ControlBarProfileFile();

// How the bars of one docking row share its length when bar `index` asks for `wanted`
// pixels: the row's total stays, the bar gets what it asks for as far as the others'
// minimums allow, and the others share the rest in proportion to their lengths, none
// below its minimum.
PELLORA_EXPORT QList<int> ShareRowLength(const QList<int>& lengths, int index, int wanted,
                                         const QList<int>& minimums);

// The keys of a bar's section, in the order they are written.
inline constexpr const char* kBarKeyHorzCX = "sizeHorzCX";
inline constexpr const char* kBarKeyHorzCY = "sizeHorzCY";
inline constexpr const char* kBarKeyVertCX = "sizeVertCX";
inline constexpr const char* kBarKeyVertCY = "sizeVertCY";
inline constexpr const char* kBarKeyFloatCX = "sizeFloatCX";
inline constexpr const char* kBarKeyFloatCY = "sizeFloatCY";

// A resizable bar of a QMainWindow that docks on any side or floats, and remembers a
// size for each of those three states. The size of the state the bar is in follows the
// user's resizing; showing the bar again, docking it elsewhere or floating it applies
// the remembered size of the new state. Floating, it stays a tool window of its frame,
// and above it when the frame stays above every other window.
class PELLORA_EXPORT CSizingControlBar : public QDockWidget
{
    Q_OBJECT
public:
    explicit CSizingControlBar(QWidget* parent = nullptr);
    ~CSizingControlBar() override;

    // Makes the bar a bar of `parent` (not docked yet: the owner docks it with
    // QMainWindow::addDockWidget) with the window title `title`, every size set to
    // `sizeDefault` (raised to the minimums) and `barId` as its object name. False
    // without a parent or when the bar was created before.
    virtual bool Create(const QString& title, QMainWindow* parent, const QSize& sizeDefault, bool hasGripper,
                        int barId);

    int BarId() const { return m_nBarId; }
    QMainWindow* Frame() const;
    bool IsFloating() const;
    // Docked at the top or bottom edge.
    bool IsHorzDocked() const;
    // Docked at the left or right edge.
    bool IsVertDocked() const;

    BarSizes Sizes() const { return m_sizes; }
    // Stores the sizes (raised to the minimums) and applies the one of the bar's state.
    void SetSizes(const BarSizes& sizes);
    // Gives the bar the remembered size of the state it is in: a docked bar through its
    // frame's dock layout, a floating one directly (kept on its screen).
    void ApplySize();

    // Reads the sizes from the bar's section of ControlBarProfileFile(). A missing key
    // or one that is not a number keeps the current value; values below the minimums
    // are raised. A profile file that cannot be read leaves every size (logged).
    void LoadState(const QString& profile);
    // Writes the six sizes into the bar's section of ControlBarProfileFile(), all or
    // nothing; a failure is logged and leaves the file as it was.
    void SaveState(const QString& profile) const;
    // LoadState/SaveState for every CSizingControlBar of `frame`.
    static void GlobalLoadState(QMainWindow* frame, const QString& profile);
    static void GlobalSaveState(QMainWindow* frame, const QString& profile);

protected:
    bool m_bHasGripper = true;

    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The bar and its children have no menu of their own; a right click stops here
    // instead of reaching the frame's menu of bars.
    void contextMenuEvent(QContextMenuEvent* event) override;
    // Called when the bar floats, docks or moves to another side.
    virtual void OnStateChanged();

private:
    void updateMinimumSize();
    void rememberCurrentSize();
    void resizeAlongRow(QMainWindow* frame, Qt::Orientation along, int wanted);
    void keepAboveFrame();
    int currentState() const;

    BarSizes m_sizes;
    int m_nBarId = 0;
    bool m_bCreated = false;
    int m_nApplying = 0;   // while the bar sets its own size, resizes are not the user's
    int m_nSizedState = 0; // the state whose size was last applied (0 none yet)
};

} // namespace Pellora
