#pragma once
// TfmRecordPage: the design the four record pages share (TfmAddrData, TfmDateData,
// TfmTodoData, TfmMemoData). A list with a check box per row shows every record that can be
// converted: Palm Desktop to CSV the loaded common records, CSV to Palm Desktop the import
// records. Entering the page rebuilds the list with every row unticked; leaving it stores the
// positions of the ticked rows as the job's selected records and refuses when there are none.
// Select All, Clear and Details act on the list, as do the list's pop-up menu and a double
// click (Details).

#include <QAction>
#include <QPushButton>
#include <QTreeWidget>
#include <cstddef>

#include "gui/TfmPage.h"

namespace tabrel {

class TfmRecordPage : public TfmPage {
    Q_OBJECT
  public:
    bool PageHook(bool entering) override;

    // Ticks (or unticks) every row.
    void CheckAll(bool checked);
    // Opens the detail dialog of the current row's record; nothing without a current row.
    void ShowDetails();

  protected:
    // The page of application app (AppContacts ... AppMemos); its form, list and detail
    // button take the object names given.
    TfmRecordPage(WizardState& state, QWidget* parent, int app, const char* formName,
                  const char* listName, const char* detailName);

    // Shows the record at position of the list in the application's detail dialog, modally;
    // mode says which records the list shows.
    virtual void OpenDetail(int mode, std::size_t position) = 0;

    QTreeWidget* List() const { return m_pList; }
    QPushButton* DetailButton() const { return m_pDetail; }

    QPushButton* btnSelAll = nullptr;
    QPushButton* btnClear = nullptr;

  private:
    void FillList();
    bool StoreSelection();

    int m_nApp;
    // The records the list shows: the settings' Mode when the page was entered.
    int m_nListMode = 0;
    QTreeWidget* m_pList = nullptr;
    QPushButton* m_pDetail = nullptr;
    QAction* m_pSelectAllItem = nullptr;
    QAction* m_pClearAllItem = nullptr;
    QAction* m_pDetailItem = nullptr;
};

}  // namespace tabrel
