#include "gui/TfmRecordPage.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QVBoxLayout>
#include <string>
#include <vector>

#include "engine/ConversionDriver.h"
#include "engine/RecordRows.h"
#include "gui/GuiMessages.h"

namespace tabrel {

namespace {

// The position of the record a row stands for.
constexpr int kPositionRole = Qt::UserRole;

QAction* MakeMenuItem(const char* name, const QString& caption, QWidget* owner) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(name);
    owner->addAction(action);
    return action;
}

}  // namespace

TfmRecordPage::TfmRecordPage(WizardState& state, QWidget* parent, int app, const char* formName,
                             const char* listName, const char* detailName)
    : TfmPage(state, parent), m_nApp(app) {
    setObjectName(formName);

    m_pList = new QTreeWidget(this);
    m_pList->setObjectName(listName);
    m_pList->setRootIsDecorated(false);
    m_pList->setItemsExpandable(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAllColumnsShowFocus(true);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_pList->header()->setStretchLastSection(false);
    QStringList headings;
    for (const RecordColumn& column : RecordColumns(app)) {
        headings << QString::fromUtf8(column.m_szHeading.data(),
                                      static_cast<qsizetype>(column.m_szHeading.size()));
    }
    m_pList->setHeaderLabels(headings);
    int index = 0;
    for (const RecordColumn& column : RecordColumns(app)) {
        m_pList->setColumnWidth(index++, column.m_nWidth);
    }

    btnSelAll = new QPushButton("&Select All", this);
    btnSelAll->setObjectName("btnSelAll");
    btnClear = new QPushButton("Clea&r", this);
    btnClear->setObjectName("btnClear");
    m_pDetail = new QPushButton("&Details", this);
    m_pDetail->setObjectName(detailName);

    // The list's pop-up menu.
    m_pList->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_pSelectAllItem = MakeMenuItem("miSelectAll", "&Select All", m_pList);
    m_pClearAllItem = MakeMenuItem("miClearAll", "&Clear All", m_pList);
    QAction* separator = MakeMenuItem("miSeparator", "-", m_pList);
    separator->setSeparator(true);
    m_pDetailItem = MakeMenuItem("miDetail", "&Detail Information", m_pList);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnSelAll);
    buttons->addWidget(btnClear);
    buttons->addStretch(1);
    buttons->addWidget(m_pDetail);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);

    connect(btnSelAll, &QPushButton::clicked, this, [this] { CheckAll(true); });
    connect(btnClear, &QPushButton::clicked, this, [this] { CheckAll(false); });
    connect(m_pDetail, &QPushButton::clicked, this, &TfmRecordPage::ShowDetails);
    connect(m_pSelectAllItem, &QAction::triggered, this, [this] { CheckAll(true); });
    connect(m_pClearAllItem, &QAction::triggered, this, [this] { CheckAll(false); });
    connect(m_pDetailItem, &QAction::triggered, this, &TfmRecordPage::ShowDetails);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this, &TfmRecordPage::ShowDetails);
}

bool TfmRecordPage::PageHook(bool entering) {
    if (entering) {
        FillList();
        return true;
    }
    return StoreSelection();
}

void TfmRecordPage::FillList() {
    m_nListMode = m_state.m_settings.m_nMode;
    const std::vector<std::vector<std::string>> rows =
        RecordRowTexts(m_state.Job(), m_nApp, m_nListMode);

    m_pList->setUpdatesEnabled(false);
    m_pList->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(rows.size()));
    for (std::size_t position = 0; position < rows.size(); ++position) {
        QStringList texts;
        for (const std::string& text : rows[position]) {
            texts << FromAnsi(text);
        }
        auto* item = new QTreeWidgetItem(texts);
        item->setFlags((item->flags() | Qt::ItemIsUserCheckable) & ~Qt::ItemIsEditable);
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, kPositionRole, QVariant::fromValue<qulonglong>(position));
        items.append(item);
    }
    m_pList->addTopLevelItems(items);
    m_pList->setUpdatesEnabled(true);
    if (m_pList->topLevelItemCount() > 0) {
        m_pList->setCurrentItem(m_pList->topLevelItem(0));
    }
}

bool TfmRecordPage::StoreSelection() {
    std::vector<std::size_t>& selected = m_state.Job().m_selectedRecords;
    selected.clear();
    for (int row = 0; row < m_pList->topLevelItemCount(); ++row) {
        const QTreeWidgetItem* item = m_pList->topLevelItem(row);
        if (item->checkState(0) == Qt::Checked) {
            selected.push_back(
                static_cast<std::size_t>(item->data(0, kPositionRole).toULongLong()));
        }
    }
    if (selected.empty()) {
        ShowMessageBox(this, "Tabrel Error", QString::fromStdString(NoRecordSelectedText(m_nApp)),
                       QMessageBox::Critical);
        return false;
    }
    return true;
}

void TfmRecordPage::CheckAll(bool checked) {
    const Qt::CheckState state = checked ? Qt::Checked : Qt::Unchecked;
    for (int row = 0; row < m_pList->topLevelItemCount(); ++row) {
        m_pList->topLevelItem(row)->setCheckState(0, state);
    }
}

void TfmRecordPage::ShowDetails() {
    const QTreeWidgetItem* item = m_pList->currentItem();
    if (item == nullptr) {
        return;
    }
    const QVariant position = item->data(0, kPositionRole);
    if (position.isValid()) {
        OpenDetail(m_nListMode, static_cast<std::size_t>(position.toULongLong()));
    }
}

}  // namespace tabrel
