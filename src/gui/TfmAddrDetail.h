#pragma once
// TfmAddrDetail: the modal dialog that shows one contact (a common contact record) in full:
// names and phones, the three addresses, the note, the custom fields and the chat and web
// addresses. It stores nothing back; ">>" opens the home page.

#include <QCheckBox>
#include <QDialog>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <array>

#include "palm/comm/CommAddrRec.h"

namespace tabrel {

class TfmAddrDetail final : public QDialog {
    Q_OBJECT
  public:
    static constexpr std::size_t kCustomShown = 9;

    explicit TfmAddrDetail(QWidget* parent = nullptr);

    // Shows record (none: nothing is filled); the record must outlive the dialog.
    void SetRecord(const CommAddrRec* record);

  private slots:
    void OnGo();

  private:
    // The boxes of one address.
    struct AddressBoxes {
        QPlainTextEdit* street = nullptr;
        QLineEdit* city = nullptr;
        QLineEdit* state = nullptr;
        QLineEdit* postal = nullptr;
        QLineEdit* country = nullptr;
    };

    QWidget* BuildGeneral();
    QWidget* BuildAddresses();
    QWidget* BuildOther();
    QWidget* AddressPage(const char* pageName, const char* prefix, AddressBoxes& boxes);

    const CommAddrRec* m_pRecord = nullptr;

    QTabWidget* pcDetail = nullptr;
    QWidget* tsGeneral = nullptr;
    QWidget* tsAddress = nullptr;
    QWidget* tsNotes = nullptr;
    QWidget* tsOther = nullptr;

    QGroupBox* gbName = nullptr;
    QLineEdit* edtFirst = nullptr;
    QLineEdit* edtLast = nullptr;
    QLineEdit* edtCompany = nullptr;
    QLineEdit* edtTitle = nullptr;
    QGroupBox* gbTelephone = nullptr;
    QLineEdit* edtBusiTel = nullptr;
    QLineEdit* edtHomeTel = nullptr;
    QLineEdit* edtMobileTel = nullptr;
    QLineEdit* edtOtherTel = nullptr;
    QLineEdit* edtEmail = nullptr;
    QLineEdit* edtFax = nullptr;
    QLineEdit* edtPager = nullptr;
    QLineEdit* edtMainTel = nullptr;
    QGroupBox* gbBirthday = nullptr;
    QLineEdit* edtBirthday = nullptr;
    QCheckBox* cbPrivate = nullptr;
    QLineEdit* edtCategory = nullptr;

    QTabWidget* pcAddress = nullptr;
    AddressBoxes m_busi;
    AddressBoxes m_home;
    AddressBoxes m_other;
    QPlainTextEdit* memBusiStreet = nullptr;
    QLineEdit* edtBusiCity = nullptr;
    QLineEdit* edtBusiState = nullptr;
    QLineEdit* edtBusiPostal = nullptr;
    QLineEdit* edtBusiCountry = nullptr;
    QPlainTextEdit* memHomeStreet = nullptr;
    QLineEdit* edtHomeCity = nullptr;
    QLineEdit* edtHomeState = nullptr;
    QLineEdit* edtHomePostal = nullptr;
    QLineEdit* edtHomeCountry = nullptr;
    QPlainTextEdit* memOtherStreet = nullptr;
    QLineEdit* edtOtherCity = nullptr;
    QLineEdit* edtOtherState = nullptr;
    QLineEdit* edtOtherPostal = nullptr;
    QLineEdit* edtOtherCountry = nullptr;

    QPlainTextEdit* memNotes = nullptr;

    QGroupBox* gbCustom = nullptr;
    // edtCustom1 to edtCustom9.
    std::array<QLineEdit*, kCustomShown> edtCustom{};
    QGroupBox* gbChat = nullptr;
    QLineEdit* edtIM1 = nullptr;
    QLineEdit* edtIM2 = nullptr;
    QLineEdit* edtHomepage = nullptr;
    QPushButton* btnGo = nullptr;
};

}  // namespace tabrel
