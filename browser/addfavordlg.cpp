#include "addfavordlg.h"

#include "browserids.h"
#include "dialogskin.h"
#include "favorites.h"
#include "messagebox.h"

#include <pellora/coolbutton.h>
#include <pellora/coolcombobox.h>
#include <pellora/cooledit.h>
#include <pellora/surfacemanager.h>

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

using Pellora::CCoolButton;
using Pellora::CCoolComoBox;
using Pellora::CCoolEdit;
using Pellora::CSurfaceManager;

CAddFavorDlg::CAddFavorDlg(const QString& name, const QString& url, Favorites::Store* store, QWidget* parent)
    : CCoolDialog(parent)
    , m_strName(name)
    , m_strUrl(url)
    , m_pStore(store)
    , m_pNameEdit(new CCoolEdit(this))
    , m_pCategoryBox(new CCoolComoBox(this))
    , m_pOkButton(new CCoolButton(QStringLiteral("确定"), this))
    , m_pCancelButton(new CCoolButton(QStringLiteral("取消"), this))
{
    setWindowTitle(QStringLiteral("添加到收藏夹"));
    // Above the browser's own window, which stays above everything else.
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    m_pNameEdit->setObjectName(QString::number(BrowserIds::kCtlFavorName));
    m_pCategoryBox->setObjectName(QString::number(BrowserIds::kCtlFavorCategory));
    m_pCategoryBox->setEditable(true);
    // Typed categories are read on OK, never added to the list by the box itself.
    m_pCategoryBox->setInsertPolicy(QComboBox::NoInsert);
    m_pOkButton->setDefault(true);
    m_pOkButton->setAutoDefault(false);
    m_pCancelButton->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->setHorizontalSpacing(8);
    grid->addWidget(new QLabel(QStringLiteral("将该网页添加到你的收藏列表中"), this), 0, 0, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("名称:"), this), 1, 0);
    grid->addWidget(m_pNameEdit, 1, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("分类:"), this), 2, 0);
    grid->addWidget(m_pCategoryBox, 2, 1, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("提示:输入分类为空，将被收藏到根目录下"), this), 3, 0, 1, 3);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(12);
    buttons->addStretch(1);
    for (CCoolButton* b : {m_pOkButton, m_pCancelButton}) {
        b->setMinimumWidth(80);
        b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
        buttons->addWidget(b);
    }
    grid->addLayout(buttons, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    resize(380, 240);

    DialogSkin::ApplyTo(this);
    DialogSkin::ApplyTo(m_pNameEdit);
    DialogSkin::ApplyTo(m_pOkButton);
    DialogSkin::ApplyTo(m_pCancelButton);
    m_pCategoryBox->SetPushButtonBitmap(CSurfaceManager::m_strComboBoxPushButtonNormal,
                                        CSurfaceManager::m_strComboBoxPushButtonPress);
    m_pCategoryBox->SetBackgroundBitmap(CSurfaceManager::m_strComboBoxBkLeft, CSurfaceManager::m_strComboBoxBkMiddle,
                                        CSurfaceManager::m_strComboBoxBkRight);
    m_pCategoryBox->SetBackColor(CSurfaceManager::m_AddFavorDlgBkColor);

    connect(m_pOkButton, &CCoolButton::clicked, this, &CAddFavorDlg::OnOK);
    connect(m_pCancelButton, &CCoolButton::clicked, this, &CAddFavorDlg::reject);
    connect(m_pCategoryBox, &CCoolComoBox::addressEntered, this, &CAddFavorDlg::OnOK);

    m_pNameEdit->setText(m_strName);
    m_pNameEdit->setCursorPosition(0);
    m_pNameEdit->selectAll();
    m_pNameEdit->setFocus();
}

void CAddFavorDlg::fillCategories()
{
    const QString typed = m_pCategoryBox->currentText();
    m_pCategoryBox->clear();
    if (m_pStore) {
        if (const auto classes = m_pStore->GetVisitClasses()) {
            // Shown as the trees show names; the stored name is kept with each item.
            for (const QString& name : Favorites::CategoryChoices(*classes))
                m_pCategoryBox->addItem(Favorites::ShownText(name), name);
        }
    }
    // Nothing chosen for the child: an empty category keeps the favorite on top.
    m_pCategoryBox->setCurrentIndex(-1);
    m_pCategoryBox->setEditText(typed);
}

void CAddFavorDlg::showEvent(QShowEvent* event)
{
    fillCategories();
    CCoolDialog::showEvent(event);
}

void CAddFavorDlg::OnOK()
{
    const QString name = m_pNameEdit->text().trimmed();
    if (const auto refusal = Favorites::CheckFavorName(name)) {
        showMessage(this, refusal->text, refusal->caption, MsgIcon::Error);
        m_pNameEdit->setFocus();
        return;
    }
    m_strName = name;
    // A category picked from the list is the stored one, whatever its shown text.
    const int picked = m_pCategoryBox->findText(m_pCategoryBox->currentText(), Qt::MatchExactly);
    m_strCategory = picked >= 0 ? m_pCategoryBox->itemData(picked).toString()
                                : m_pCategoryBox->currentText().trimmed();
    accept();
}

void CAddFavorDlg::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        OnOK();
        return;
    }
    CCoolDialog::keyPressEvent(event);
}
