#include "gui/TfmAddrDetail.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>
#include <string>

#include "engine/RecordDetail.h"
#include "gui/GuiMessages.h"
#include "gui/TfmDetailParts.h"

namespace tabrel {

namespace {

QGroupBox* MakeGroup(const char* name, const QString& title, QWidget* parent) {
    auto* group = new QGroupBox(title, parent);
    group->setObjectName(name);
    return group;
}

}  // namespace

TfmAddrDetail::TfmAddrDetail(QWidget* parent) : QDialog(parent) {
    setObjectName("TfmAddrDetail");
    setWindowTitle("Contact detail information");
    setModal(true);

    pcDetail = new QTabWidget(this);
    pcDetail->setObjectName("pcDetail");
    tsGeneral = BuildGeneral();
    tsAddress = BuildAddresses();
    tsNotes = new QWidget(pcDetail);
    tsNotes->setObjectName("tsNotes");
    memNotes = MakeMemo("memNotes", tsNotes);
    auto* notes = new QVBoxLayout(tsNotes);
    notes->addWidget(memNotes);
    tsOther = BuildOther();
    pcDetail->addTab(tsGeneral, "General");
    pcDetail->addTab(tsAddress, "Address");
    pcDetail->addTab(tsNotes, "Notes");
    pcDetail->addTab(tsOther, "Other Information");

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcDetail);
    FinishDetailDialog(this, layout);
}

QWidget* TfmAddrDetail::BuildGeneral() {
    auto* page = new QWidget(pcDetail);
    page->setObjectName("tsGeneral");

    gbName = MakeGroup("gbName", " Name ", page);
    auto* name = new QFormLayout(gbName);
    edtFirst = AddEdit(name, "edtFirst", "First Name:");
    edtLast = AddEdit(name, "edtLast", "Last Name:");
    edtCompany = AddEdit(name, "edtCompany", "Company:");
    edtTitle = AddEdit(name, "edtTitle", "Job Title:");

    gbBirthday = MakeGroup("gbBirthday", " Birthday ", page);
    edtBirthday = MakeEdit("edtBirthday", gbBirthday);
    auto* birthday = new QVBoxLayout(gbBirthday);
    birthday->addWidget(edtBirthday);

    auto* rest = new QFormLayout;
    cbPrivate = MakeCheck("cbPrivate", "Private", page);
    edtCategory = MakeEdit("edtCategory", page);
    rest->addRow("", cbPrivate);
    rest->addRow("Category:", edtCategory);

    gbTelephone = MakeGroup("gbTelephone", " Telephone Numbers ", page);
    auto* phones = new QFormLayout(gbTelephone);
    edtBusiTel = AddEdit(phones, "edtBusiTel", "Business:");
    edtHomeTel = AddEdit(phones, "edtHomeTel", "Home:");
    edtMobileTel = AddEdit(phones, "edtMobileTel", "Mobile:");
    edtOtherTel = AddEdit(phones, "edtOtherTel", "Other:");
    edtEmail = AddEdit(phones, "edtEmail", "Email:");
    edtFax = AddEdit(phones, "edtFax", "Fax:");
    edtPager = AddEdit(phones, "edtPager", "Pager:");
    edtMainTel = AddEdit(phones, "edtMainTel", "Main:");

    auto* left = new QVBoxLayout;
    left->addWidget(gbName);
    left->addWidget(gbBirthday);
    left->addLayout(rest);
    left->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addLayout(left);
    layout->addWidget(gbTelephone);
    return page;
}

QWidget* TfmAddrDetail::AddressPage(const char* pageName, const char* prefix, AddressBoxes& boxes) {
    auto* page = new QWidget(pcAddress);
    page->setObjectName(pageName);
    const std::string kind(prefix);
    auto* form = new QFormLayout(page);
    boxes.street = MakeMemo(("mem" + kind + "Street").c_str(), page);
    boxes.street->setFixedHeight(64);
    form->addRow("Street:", boxes.street);
    boxes.city = AddEdit(form, ("edt" + kind + "City").c_str(), "City:");
    boxes.state = AddEdit(form, ("edt" + kind + "State").c_str(), "State:");
    boxes.postal = AddEdit(form, ("edt" + kind + "Postal").c_str(), "Postal Code:");
    boxes.country = AddEdit(form, ("edt" + kind + "Country").c_str(), "Country:");
    return page;
}

QWidget* TfmAddrDetail::BuildAddresses() {
    auto* page = new QWidget(pcDetail);
    page->setObjectName("tsAddress");
    pcAddress = new QTabWidget(page);
    pcAddress->setObjectName("pcAddress");
    pcAddress->addTab(AddressPage("tsBusiness", "Busi", m_busi), "Business");
    pcAddress->addTab(AddressPage("tsHome", "Home", m_home), "Home");
    pcAddress->addTab(AddressPage("tsOther", "Other", m_other), "Other");
    memBusiStreet = m_busi.street;
    edtBusiCity = m_busi.city;
    edtBusiState = m_busi.state;
    edtBusiPostal = m_busi.postal;
    edtBusiCountry = m_busi.country;
    memHomeStreet = m_home.street;
    edtHomeCity = m_home.city;
    edtHomeState = m_home.state;
    edtHomePostal = m_home.postal;
    edtHomeCountry = m_home.country;
    memOtherStreet = m_other.street;
    edtOtherCity = m_other.city;
    edtOtherState = m_other.state;
    edtOtherPostal = m_other.postal;
    edtOtherCountry = m_other.country;
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(pcAddress);
    return page;
}

QWidget* TfmAddrDetail::BuildOther() {
    auto* page = new QWidget(pcDetail);
    page->setObjectName("tsOtherInfo");

    gbCustom = MakeGroup("gbCustom", " Custom Fields ", page);
    auto* custom = new QFormLayout(gbCustom);
    for (std::size_t i = 0; i < edtCustom.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        edtCustom[i] = AddEdit(custom, ("edtCustom" + number).c_str(),
                               QString::fromStdString("Custom " + number + ":"));
    }

    // "&&": the group title shows one ampersand.
    gbChat = MakeGroup("gbChat", " Chat && Web ", page);
    auto* chat = new QFormLayout(gbChat);
    edtIM1 = AddEdit(chat, "edtIM1", "IM 1:");
    edtIM2 = AddEdit(chat, "edtIM2", "IM 2:");
    edtHomepage = MakeEdit("edtHomepage", gbChat);
    btnGo = new QPushButton(">>", gbChat);
    btnGo->setObjectName("btnGo");
    btnGo->setFixedWidth(32);
    auto* homepage = new QHBoxLayout;
    homepage->addWidget(edtHomepage);
    homepage->addWidget(btnGo);
    chat->addRow("Home Page:", homepage);
    connect(btnGo, &QPushButton::clicked, this, &TfmAddrDetail::OnGo);

    auto* right = new QVBoxLayout;
    right->addWidget(gbChat);
    right->addStretch(1);
    auto* layout = new QHBoxLayout(page);
    layout->addWidget(gbCustom);
    layout->addLayout(right);
    return page;
}

void TfmAddrDetail::SetRecord(const CommAddrRec* record) {
    m_pRecord = record;
    if (m_pRecord == nullptr) {
        return;
    }
    const CommAddrRec& rec = *m_pRecord;
    ShowText(edtFirst, rec.m_szFirstName);
    ShowText(edtLast, rec.m_szLastName);
    ShowText(edtCompany, rec.m_szCompany);
    ShowText(edtTitle, rec.m_szTitle);
    ShowText(edtBusiTel, rec.m_szWorkPhone);
    ShowText(edtHomeTel, rec.m_szHomePhone);
    ShowText(edtMobileTel, rec.m_szMobilePhone);
    ShowText(edtOtherTel, rec.m_szOtherPhone);
    ShowText(edtEmail, rec.m_szEmail);
    ShowText(edtFax, rec.m_szWorkFax);
    ShowText(edtPager, rec.m_szPager);
    ShowText(edtMainTel, rec.m_szPrimaryPhone);
    ShowText(edtBirthday, ContactBirthdayText(rec));
    cbPrivate->setChecked(rec.m_nPrivate != 0);
    ShowText(edtCategory, rec.m_szCategory);

    ShowText(memBusiStreet, rec.m_szWorkStreet);
    ShowText(edtBusiCity, rec.m_szWorkCity);
    ShowText(edtBusiState, rec.m_szWorkState);
    ShowText(edtBusiPostal, rec.m_szWorkPostal);
    ShowText(edtBusiCountry, rec.m_szWorkCountry);
    ShowText(memHomeStreet, rec.m_szHomeStreet);
    ShowText(edtHomeCity, rec.m_szHomeCity);
    ShowText(edtHomeState, rec.m_szHomeState);
    ShowText(edtHomePostal, rec.m_szHomePostal);
    ShowText(edtHomeCountry, rec.m_szHomeCountry);
    ShowText(memOtherStreet, rec.m_szOtherStreet);
    ShowText(edtOtherCity, rec.m_szOtherCity);
    ShowText(edtOtherState, rec.m_szOtherState);
    ShowText(edtOtherPostal, rec.m_szOtherPostal);
    ShowText(edtOtherCountry, rec.m_szOtherCountry);

    ShowText(memNotes, rec.m_szNote);

    for (std::size_t i = 0; i < edtCustom.size(); ++i) {
        ShowText(edtCustom[i], rec.m_szCustom[i]);
    }
    ShowText(edtIM1, rec.m_szIm1);
    ShowText(edtIM2, rec.m_szIm2);
    ShowText(edtHomepage, rec.m_szWorkHomePage);
}

void TfmAddrDetail::OnGo() {
    // The box holds Unicode; the address is worked out on its UTF-8 form.
    const std::string address = HomePageAddress(edtHomepage->text().toStdString());
    if (!address.empty()) {
        OpenWithDesktop(QString::fromStdString(address));
    }
}

}  // namespace tabrel
