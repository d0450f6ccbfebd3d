#pragma once

#include <pellora/cooldialog.h>

namespace Favorites {
class Store;
}

namespace Pellora {
class CCoolButton;
class CCoolComoBox;
class CCoolEdit;
}

// "添加到收藏夹": the name (proposed from the page's title) and the category of a new
// favorite. Each time it shows, the category box is filled afresh with the stored
// categories, sorted. "确定" refuses a blank name and keeps the dialog open; Enter in
// either box acts as "确定", Escape as "取消".
class CAddFavorDlg : public Pellora::CCoolDialog
{
    Q_OBJECT

public:
    CAddFavorDlg(const QString& name, const QString& url, Favorites::Store* store, QWidget* parent = nullptr);

    // After OK: the typed name and category, both trimmed. The address stays as given.
    const QString& Name() const { return m_strName; }
    const QString& Url() const { return m_strUrl; }
    const QString& Category() const { return m_strCategory; }

    Pellora::CCoolEdit* NameEdit() const { return m_pNameEdit; }
    Pellora::CCoolComoBox* CategoryBox() const { return m_pCategoryBox; }
    Pellora::CCoolButton* OkButton() const { return m_pOkButton; }
    Pellora::CCoolButton* CancelButton() const { return m_pCancelButton; }

    // "确定".
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void fillCategories();

    QString m_strName;
    QString m_strUrl;
    QString m_strCategory;
    Favorites::Store* m_pStore;
    Pellora::CCoolEdit* m_pNameEdit;
    Pellora::CCoolComoBox* m_pCategoryBox;
    Pellora::CCoolButton* m_pOkButton;
    Pellora::CCoolButton* m_pCancelButton;
};
