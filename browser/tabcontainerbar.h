#pragma once

#include <QPixmap>
#include <QWidget>

class CCoolPngButton;

namespace Pellora {
class CCoolTabBar;
}

// The strip above the pages: the workspace button "⊙", the new-tab button "+" and the
// tab bar. It passes the tab bar's activations and close clicks on to the frame.
class CTabContainerBar : public QWidget
{
    Q_OBJECT

public:
    explicit CTabContainerBar(QWidget* parent = nullptr);

    // Reads the skin file when one is given, then gives the bar and its tab bar their pictures.
    void ApplySkin(const QString& skinFile = QString());

    Pellora::CCoolTabBar* TabBar() const { return m_pTabBar; }
    CCoolPngButton* WorkspaceButton() const { return m_pWorkspaceButton; }
    CCoolPngButton* NewTabButton() const { return m_pNewTabButton; }

    QSize sizeHint() const override;

signals:
    void command(int commandId);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void rebuildBackground();

    QPixmap m_bmpTabBackground;
    QPixmap m_bmpBuffer;
    CCoolPngButton* m_pNewTabButton;
    CCoolPngButton* m_pWorkspaceButton;
    Pellora::CCoolTabBar* m_pTabBar;
};
