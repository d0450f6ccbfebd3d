#include "sizingcontrolbar.h"

#include "skinlog.h"

#include <inioperater.h>
#include <paths.h>

#include <QContextMenuEvent>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMainWindow>
#include <QResizeEvent>
#include <QSaveFile>
#include <QScreen>
#include <QTemporaryDir>

#include <algorithm>

namespace Pellora {

namespace {

QSize atLeast(const QSize& size, const QSize& minimum)
{
    return QSize(qMax(size.width(), minimum.width()), qMax(size.height(), minimum.height()));
}

// Characters that would end the section's header line or open another one.
bool isUsableSection(const QString& section)
{
    for (const QChar c : section) {
        if (c == u'[' || c == u']' || c == u'\n' || c == u'\r' || c == QChar(0x2028) || c == QChar(0x2029))
            return false;
    }
    return true;
}

struct SizeKey {
    const char* key;
    QSize BarSizes::*size;
    bool width;
};

constexpr SizeKey kSizeKeys[] = {
    {kBarKeyHorzCX, &BarSizes::horzDocked, true}, {kBarKeyHorzCY, &BarSizes::horzDocked, false},
    {kBarKeyVertCX, &BarSizes::vertDocked, true}, {kBarKeyVertCY, &BarSizes::vertDocked, false},
    {kBarKeyFloatCX, &BarSizes::floating, true},  {kBarKeyFloatCY, &BarSizes::floating, false},
};

int sizeValue(const BarSizes& sizes, const SizeKey& k)
{
    const QSize& s = sizes.*(k.size);
    return k.width ? s.width() : s.height();
}

void setSizeValue(BarSizes& sizes, const SizeKey& k, int value)
{
    QSize& s = sizes.*(k.size);
    if (k.width)
        s.setWidth(value);
    else
        s.setHeight(value);
}

enum BarState { kNoState = 0, kFloatingState, kHorzState, kVertState };

} // namespace

BarSizes ClampBarSizes(BarSizes sizes)
{
    sizes.horzDocked = atLeast(sizes.horzDocked, kBarHorzMin);
    sizes.vertDocked = atLeast(sizes.vertDocked, kBarVertMin);
    sizes.floating = atLeast(sizes.floating, kBarFloatMin);
    return sizes;
}

QList<int> ShareRowLength(const QList<int>& lengths, int index, int wanted, const QList<int>& minimums)
{
    const int count = int(lengths.size());
    if (index < 0 || index >= count || minimums.size() != lengths.size())
        return lengths;
    auto minimumOf = [&minimums](int i) { return qMax(0, minimums.at(i)); };
    qint64 total = 0;
    qint64 othersMinimum = 0;
    qint64 othersLength = 0;
    for (int i = 0; i < count; ++i) {
        total += lengths.at(i);
        if (i != index) {
            othersMinimum += minimumOf(i);
            othersLength += qMax(0, lengths.at(i));
        }
    }
    QList<int> out = lengths;
    const qint64 most = qMax<qint64>(minimumOf(index), total - othersMinimum);
    const qint64 mine = qBound(qint64(minimumOf(index)), qint64(wanted), most);
    out[index] = int(mine);
    qint64 rest = total - mine;
    qint64 restMinimum = othersMinimum;
    int last = -1;
    for (int i = count - 1; i >= 0 && last < 0; --i) {
        if (i != index)
            last = i;
    }
    for (int i = 0; i < count; ++i) {
        if (i == index)
            continue;
        restMinimum -= minimumOf(i);
        qint64 share = rest;
        if (i != last) {
            share = othersLength > 0 ? (total - mine) * qMax(0, lengths.at(i)) / othersLength
                                     : (total - mine) / (count - 1);
            share = qMin(share, rest - restMinimum);
        }
        share = qMax<qint64>(share, minimumOf(i));
        out[i] = int(share);
        rest -= share;
    }
    return out;
}

QString ControlBarSection(const QString& profile, int barId)
{
    // Joined, not formatted: a profile name holding "%1" or "%s" stays as it is.
    return profile + QStringLiteral("-SCBar-") + QString::number(barId);
}

QString ControlBarProfileFile()
{
    return GetUserConfigDirectory() + QStringLiteral("/controlbars.ini");
}

CSizingControlBar::CSizingControlBar(QWidget* parent)
    : QDockWidget(parent)
{
    setAllowedAreas(Qt::AllDockWidgetAreas);
    connect(this, &QDockWidget::topLevelChanged, this, [this] { OnStateChanged(); });
    connect(this, &QDockWidget::dockLocationChanged, this, [this] { OnStateChanged(); });
    updateMinimumSize();
}

CSizingControlBar::~CSizingControlBar() = default;

bool CSizingControlBar::Create(const QString& title, QMainWindow* parent, const QSize& sizeDefault, bool hasGripper,
                               int barId)
{
    if (!parent) {
        qCWarning(lcSkin) << "a control bar needs a frame:" << title;
        return false;
    }
    if (m_bCreated) {
        qCWarning(lcSkin) << "the control bar" << m_nBarId << "was created before";
        return false;
    }
    if (parentWidget() != parent)
        setParent(parent);
    setWindowTitle(title);
    setObjectName(QString::number(barId));
    m_nBarId = barId;
    m_bHasGripper = hasGripper;
    m_sizes = ClampBarSizes(BarSizes{sizeDefault, sizeDefault, sizeDefault});
    m_bCreated = true;
    updateMinimumSize();
    return true;
}

QMainWindow* CSizingControlBar::Frame() const
{
    return qobject_cast<QMainWindow*>(parentWidget());
}

bool CSizingControlBar::IsFloating() const
{
    return isFloating();
}

bool CSizingControlBar::IsHorzDocked() const
{
    const QMainWindow* frame = Frame();
    if (!frame || isFloating())
        return false;
    const Qt::DockWidgetArea area = frame->dockWidgetArea(const_cast<CSizingControlBar*>(this));
    return area == Qt::TopDockWidgetArea || area == Qt::BottomDockWidgetArea;
}

bool CSizingControlBar::IsVertDocked() const
{
    const QMainWindow* frame = Frame();
    if (!frame || isFloating())
        return false;
    const Qt::DockWidgetArea area = frame->dockWidgetArea(const_cast<CSizingControlBar*>(this));
    return area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea;
}

void CSizingControlBar::SetSizes(const BarSizes& sizes)
{
    m_sizes = ClampBarSizes(sizes);
    ApplySize();
}

int CSizingControlBar::currentState() const
{
    if (IsFloating())
        return kFloatingState;
    if (IsHorzDocked())
        return kHorzState;
    return IsVertDocked() ? kVertState : kNoState;
}

void CSizingControlBar::ApplySize()
{
    m_nSizedState = currentState();
    ++m_nApplying;
    if (IsFloating()) {
        QSize size = m_sizes.floating;
        // A floating bar stays within reach on its screen.
        if (const QScreen* s = screen())
            size = size.boundedTo(s->availableGeometry().size());
        resize(size);
    } else if (QMainWindow* frame = Frame()) {
        if (IsHorzDocked()) {
            frame->resizeDocks({this}, {m_sizes.horzDocked.height()}, Qt::Vertical);
            resizeAlongRow(frame, Qt::Horizontal, m_sizes.horzDocked.width());
        } else if (IsVertDocked()) {
            frame->resizeDocks({this}, {m_sizes.vertDocked.width()}, Qt::Horizontal);
            resizeAlongRow(frame, Qt::Vertical, m_sizes.vertDocked.height());
        }
    }
    --m_nApplying;
}

void CSizingControlBar::resizeAlongRow(QMainWindow* frame, Qt::Orientation along, int wanted)
{
    // The bars beside this one in its docking row, in their order along it.
    const Qt::DockWidgetArea area = frame->dockWidgetArea(this);
    QList<QDockWidget*> row;
    if (frame->isVisible() && isVisible()) {
        for (QDockWidget* dock : frame->findChildren<QDockWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!dock->isVisible() || dock->isFloating() || frame->dockWidgetArea(dock) != area)
                continue;
            const bool sameRow = along == Qt::Horizontal ? dock->y() == y() : dock->x() == x();
            if (sameRow)
                row.append(dock);
        }
    }
    if (row.size() < 2) {
        frame->resizeDocks({this}, {wanted}, along);
        return;
    }
    auto position = [along](const QDockWidget* d) { return along == Qt::Horizontal ? d->x() : d->y(); };
    std::sort(row.begin(), row.end(),
              [&position](const QDockWidget* l, const QDockWidget* r) { return position(l) < position(r); });
    QList<int> lengths;
    QList<int> minimums;
    for (const QDockWidget* dock : row) {
        const QSize least = dock->minimumSize().expandedTo(dock->minimumSizeHint());
        lengths.append(along == Qt::Horizontal ? dock->width() : dock->height());
        minimums.append(along == Qt::Horizontal ? least.width() : least.height());
    }
    // Qt would shrink every bar of the row in proportion; the neighbours give way instead.
    frame->resizeDocks(row, ShareRowLength(lengths, int(row.indexOf(this)), wanted, minimums), along);
}

void CSizingControlBar::updateMinimumSize()
{
    setMinimumSize(IsFloating() ? kBarFloatMin : (IsHorzDocked() ? kBarHorzMin : kBarVertMin));
}

void CSizingControlBar::OnStateChanged()
{
    updateMinimumSize();
    if (isVisible())
        ApplySize();
}

void CSizingControlBar::rememberCurrentSize()
{
    const QSize now = size();
    if (IsFloating())
        m_sizes.floating = atLeast(now, kBarFloatMin);
    else if (IsHorzDocked())
        m_sizes.horzDocked = atLeast(now, kBarHorzMin);
    else if (IsVertDocked())
        m_sizes.vertDocked = atLeast(now, kBarVertMin);
}

void CSizingControlBar::resizeEvent(QResizeEvent* event)
{
    QDockWidget::resizeEvent(event);
    // Only a bar on screen follows the user's resizing; the layout's first guesses for
    // a bar not shown yet, or for one whose state is changing (its new state's size is
    // not applied yet), say nothing about it.
    if (m_nApplying || !isVisible() || (!IsFloating() && !(Frame() && Frame()->isVisible())))
        return;
    if (currentState() == m_nSizedState)
        rememberCurrentSize();
}

void CSizingControlBar::showEvent(QShowEvent* event)
{
    QDockWidget::showEvent(event);
    updateMinimumSize();
    ApplySize();
    // The dock sets a floating bar's window flags itself each time it floats it; the
    // frame's stay-on-top is added once that is done.
    if (IsFloating())
        QMetaObject::invokeMethod(this, &CSizingControlBar::keepAboveFrame, Qt::QueuedConnection);
}

void CSizingControlBar::contextMenuEvent(QContextMenuEvent* event)
{
    event->accept();
}

void CSizingControlBar::keepAboveFrame()
{
    const QMainWindow* frame = Frame();
    if (!IsFloating() || !isVisible() || !frame || !frame->windowFlags().testFlag(Qt::WindowStaysOnTopHint)
        || windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        return;
    // While the child still drags the bar, its window holds the mouse; the drop shows
    // the bar again and brings this back.
    if (QGuiApplication::mouseButtons() != Qt::NoButton)
        return;
    const QRect where = geometry();
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    setGeometry(where);
    show();
}

void CSizingControlBar::LoadState(const QString& profile)
{
    const QString section = ControlBarSection(profile, m_nBarId);
    if (!isUsableSection(section)) {
        qCWarning(lcSkin) << "a control bar profile name cannot hold brackets or line breaks:" << profile;
        return;
    }
    const QString path = ControlBarProfileFile();
    const QFileInfo info(path);
    if (!info.exists())
        return; // nothing saved yet
    QFile probe(path);
    if (!info.isFile() || !probe.open(QIODevice::ReadOnly)) {
        qCWarning(lcSkin) << "cannot read the control bar profile" << path;
        return;
    }
    probe.close();

    const CINIOperater ini(path);
    BarSizes sizes = m_sizes;
    for (const SizeKey& k : kSizeKeys) {
        const QString key = QLatin1String(k.key);
        const QString text = ini.ReadString(section, key);
        if (text.isEmpty())
            continue;
        bool ok = false;
        const int value = text.toInt(&ok);
        if (!ok) {
            qCWarning(lcSkin) << "the control bar size" << section << key << "is not a number:" << text.left(40);
            continue;
        }
        setSizeValue(sizes, k, value);
    }
    m_sizes = ClampBarSizes(sizes);
    if (isVisible())
        ApplySize();
}

void CSizingControlBar::SaveState(const QString& profile) const
{
    const QString section = ControlBarSection(profile, m_nBarId);
    if (!isUsableSection(section)) {
        qCWarning(lcSkin) << "a control bar profile name cannot hold brackets or line breaks:" << profile;
        return;
    }
    const QString path = ControlBarProfileFile();

    // The six keys go into a copy first, so that the profile holds either all of them
    // or what it held before.
    QByteArray original;
    if (QFileInfo::exists(path)) {
        QFile in(path);
        if (!QFileInfo(path).isFile() || !in.open(QIODevice::ReadOnly)) {
            qCWarning(lcSkin) << "cannot read the control bar profile" << path << "to update it";
            return;
        }
        original = in.readAll();
    }
    QTemporaryDir work;
    if (!work.isValid()) {
        qCWarning(lcSkin) << "no temporary folder to update the control bar profile:" << work.errorString();
        return;
    }
    const QString copyPath = work.filePath(QStringLiteral("controlbars.ini"));
    {
        QFile copy(copyPath);
        if (!copy.open(QIODevice::WriteOnly) || copy.write(original) != original.size()) {
            qCWarning(lcSkin) << "cannot prepare the control bar profile:" << copy.errorString();
            return;
        }
    }
    CINIOperater ini(copyPath);
    for (const SizeKey& k : kSizeKeys) {
        if (!ini.WriteString(section, QLatin1String(k.key), QString::number(sizeValue(m_sizes, k)))) {
            qCWarning(lcSkin) << "cannot write the control bar size" << section << k.key;
            return;
        }
    }
    QFile copy(copyPath);
    if (!copy.open(QIODevice::ReadOnly)) {
        qCWarning(lcSkin) << "cannot read back the control bar profile:" << copy.errorString();
        return;
    }
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(copy.readAll()) < 0 || !out.commit())
        qCWarning(lcSkin) << "cannot save the control bar profile" << path << out.errorString();
}

void CSizingControlBar::GlobalLoadState(QMainWindow* frame, const QString& profile)
{
    if (!frame)
        return;
    for (CSizingControlBar* bar : frame->findChildren<CSizingControlBar*>(Qt::FindDirectChildrenOnly))
        bar->LoadState(profile);
}

void CSizingControlBar::GlobalSaveState(QMainWindow* frame, const QString& profile)
{
    if (!frame)
        return;
    for (CSizingControlBar* bar : frame->findChildren<CSizingControlBar*>(Qt::FindDirectChildrenOnly))
        bar->SaveState(profile);
}

} // namespace Pellora
