#include "gui/TfmStep3.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPalette>
#include <QVBoxLayout>
#include <optional>

#include "engine/ImportReader.h"
#include "gui/GuiMessages.h"
#include "gui/TfmFieldProp.h"
#include "misc/CxDebugUtil.h"

namespace tabrel {

namespace {

constexpr int kColumnWidth = 170;

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

// A one-column list with check boxes and whole-row selection whose selection stays visible
// when another control has the focus.
QTreeWidget* MakeList(const char* name, const QString& caption, QWidget* parent) {
    auto* view = new QTreeWidget(parent);
    view->setObjectName(name);
    view->setColumnCount(1);
    view->setHeaderLabels({caption});
    view->setColumnWidth(0, kColumnWidth);
    view->header()->setStretchLastSection(false);
    view->setRootIsDecorated(false);
    view->setItemsExpandable(false);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    QPalette palette = view->palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText}) {
        palette.setColor(QPalette::Inactive, role, palette.color(QPalette::Active, role));
    }
    view->setPalette(palette);
    return view;
}

std::optional<std::size_t> RowOf(const QTreeWidget* view, QTreeWidgetItem* item) {
    if (item == nullptr) {
        return std::nullopt;
    }
    const int row = view->indexOfTopLevelItem(item);
    if (row < 0) {
        return std::nullopt;
    }
    return static_cast<std::size_t>(row);
}

}  // namespace

TfmStep3::TfmStep3(WizardState& state, QWidget* parent) : TfmPage(state, parent) {
    setObjectName("TfmStep3");
    BuildControls();
    UpdateButtons();
}

void TfmStep3::BuildControls() {
    lvAll = MakeList("lvAll", "Available Fields", this);
    lvSel = MakeList("lvSel", "Selected Fields", this);
    btnSel = MakeButton("btnSel", "> >", this);
    btnUnSel = MakeButton("btnUnSel", "< <", this);
    btnInsert = MakeButton("btnInsert", "Insert", this);
    btnDelete = MakeButton("btnDelete", "Delete", this);
    btnUp = MakeButton("btnUp", "Move Up", this);
    btnDown = MakeButton("btnDown", "Move Down", this);
    btnProp = MakeButton("btnProp", "Properties", this);
    btnAllSel = MakeButton("btnAllSel", "Select All", this);
    btnAllClear = MakeButton("btnAllClear", "Clear All", this);
    btnSelSel = MakeButton("btnSelSel", "Select All", this);
    btnSelClear = MakeButton("btnSelClear", "Clear All", this);

    auto* layout = new QHBoxLayout(this);

    auto* available = new QVBoxLayout;
    available->addWidget(lvAll, 1);
    auto* availableTicks = new QHBoxLayout;
    availableTicks->addWidget(btnAllSel);
    availableTicks->addWidget(btnAllClear);
    available->addLayout(availableTicks);

    auto* moves = new QVBoxLayout;
    moves->addStretch(1);
    moves->addWidget(btnSel);
    moves->addWidget(btnUnSel);
    moves->addSpacing(16);
    moves->addWidget(btnInsert);
    moves->addWidget(btnDelete);
    moves->addStretch(1);

    auto* selected = new QVBoxLayout;
    selected->addWidget(lvSel, 1);
    auto* selectedTicks = new QHBoxLayout;
    selectedTicks->addWidget(btnSelSel);
    selectedTicks->addWidget(btnSelClear);
    selected->addLayout(selectedTicks);

    auto* order = new QVBoxLayout;
    order->addStretch(1);
    order->addWidget(btnUp);
    order->addWidget(btnDown);
    order->addSpacing(16);
    order->addWidget(btnProp);
    order->addStretch(1);

    layout->addLayout(available, 1);
    layout->addLayout(moves);
    layout->addLayout(selected, 1);
    layout->addLayout(order);

    connect(btnSel, &QPushButton::clicked, this, &TfmStep3::OnSelect);
    connect(btnUnSel, &QPushButton::clicked, this, &TfmStep3::OnUnselect);
    connect(btnInsert, &QPushButton::clicked, this, &TfmStep3::OnInsert);
    connect(btnDelete, &QPushButton::clicked, this, &TfmStep3::OnDelete);
    connect(btnUp, &QPushButton::clicked, this, &TfmStep3::OnMoveUp);
    connect(btnDown, &QPushButton::clicked, this, &TfmStep3::OnMoveDown);
    connect(btnProp, &QPushButton::clicked, this, &TfmStep3::OnProperties);
    connect(btnAllSel, &QPushButton::clicked, this, [this] { OnAvailableTicks(true); });
    connect(btnAllClear, &QPushButton::clicked, this, [this] { OnAvailableTicks(false); });
    connect(btnSelSel, &QPushButton::clicked, this, [this] { OnSelectedTicks(true); });
    connect(btnSelClear, &QPushButton::clicked, this, [this] { OnSelectedTicks(false); });
    for (QTreeWidget* view : {lvAll, lvSel}) {
        connect(view, &QTreeWidget::itemChanged, this, &TfmStep3::OnItemChanged);
        connect(view, &QTreeWidget::currentItemChanged, this, &TfmStep3::OnCurrentChanged);
    }
    connect(lvSel, &QTreeWidget::itemDoubleClicked, this, &TfmStep3::OnProperties);
}

bool TfmStep3::PageHook(bool entering) {
    ConversionJob& job = m_state.Job();
    if (entering) {
        m_selection.Fill(job.GetCatalogue(), job.m_fields);
        ShowLists();
        return true;
    }
    if (const std::optional<UserMessage> refusal = m_selection.Commit(job.m_fields)) {
        ShowError(this, *refusal);
        return false;
    }
    if (m_state.m_settings.m_nMode == ModeCsvToPalm) {
        const std::size_t count = ReadImportRecords(job, m_state.m_settings);
        CX_LOG(kLogProgress, "%zu import records read from \"%s\".", count,
               job.m_szCsvPath.c_str());
    }
    return true;
}

FieldList& TfmStep3::ListOf(const QTreeWidget* view) {
    return view == lvSel ? m_selection.GetSelected() : m_selection.GetAvailable();
}

void TfmStep3::ShowLists() {
    m_bShowing = true;
    ShowList(lvAll, m_selection.GetAvailable());
    ShowList(lvSel, m_selection.GetSelected());
    m_bShowing = false;
    UpdateButtons();
}

void TfmStep3::ShowList(QTreeWidget* view, const FieldList& list) {
    view->clear();
    for (const FieldEntry& entry : list.GetEntries()) {
        auto* item = new QTreeWidgetItem(view, QStringList{FromAnsi(entry.m_szCaption)});
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(0, entry.m_bTicked ? Qt::Checked : Qt::Unchecked);
    }
    const std::optional<std::size_t> current = list.GetCurrent();
    if (current && *current < list.GetCount()) {
        QTreeWidgetItem* item = view->topLevelItem(static_cast<int>(*current));
        view->setCurrentItem(item);
        item->setSelected(true);
    } else {
        view->setCurrentItem(nullptr);
        view->clearSelection();
    }
}

void TfmStep3::UpdateButtons() {
    const FieldButtonStates states = m_selection.GetButtonStates();
    btnDelete->setEnabled(states.m_bDelete);
    btnUp->setEnabled(states.m_bMoveUp);
    btnDown->setEnabled(states.m_bMoveDown);
    btnProp->setEnabled(states.m_bProperties);
}

void TfmStep3::OnItemChanged(QTreeWidgetItem* item, int /*column*/) {
    if (m_bShowing || item == nullptr) {
        return;
    }
    QTreeWidget* view = item->treeWidget();
    if (const std::optional<std::size_t> row = RowOf(view, item)) {
        ListOf(view).SetTicked(*row, item->checkState(0) == Qt::Checked);
    }
}

void TfmStep3::OnCurrentChanged() {
    if (m_bShowing) {
        return;
    }
    auto* view = qobject_cast<QTreeWidget*>(sender());
    if (view == nullptr) {
        return;
    }
    FieldList& list = ListOf(view);
    if (const std::optional<std::size_t> row = RowOf(view, view->currentItem())) {
        list.SetCurrent(*row);
    } else {
        list.ClearCurrent();
    }
    if (view == lvSel) {
        UpdateButtons();
    }
}

void TfmStep3::OnSelect() {
    m_selection.Select();
    ShowLists();
}

void TfmStep3::OnUnselect() {
    m_selection.Unselect();
    ShowLists();
}

void TfmStep3::OnInsert() {
    TfmFieldProp dialog(m_state.Job().m_nApp, m_selection.GetCatalogue(), this);
    dialog.SetField(NewCustomField());
    if (dialog.exec() == QDialog::Accepted) {
        m_selection.InsertCustom(dialog.GetField());
        ShowLists();
    }
}

void TfmStep3::OnDelete() {
    if (m_selection.Delete()) {
        ShowLists();
    }
}

void TfmStep3::OnMoveUp() {
    if (m_selection.MoveUp()) {
        ShowLists();
    }
}

void TfmStep3::OnMoveDown() {
    if (m_selection.MoveDown()) {
        ShowLists();
    }
}

void TfmStep3::OnProperties() {
    const std::optional<std::size_t> current = m_selection.GetSelected().GetCurrent();
    const FieldEntry* entry = m_selection.GetSelected().GetCurrentEntry();
    if (!current || entry == nullptr) {
        return;
    }
    TfmFieldProp dialog(m_state.Job().m_nApp, m_selection.GetCatalogue(), this);
    dialog.SetField(entry->m_field);
    if (dialog.exec() == QDialog::Accepted &&
        m_selection.SetProperties(*current, dialog.GetProperties())) {
        ShowLists();
    }
}

void TfmStep3::OnAvailableTicks(bool ticked) {
    m_selection.GetAvailable().TickAll(ticked);
    ShowLists();
}

void TfmStep3::OnSelectedTicks(bool ticked) {
    m_selection.GetSelected().TickAll(ticked);
    ShowLists();
}

}  // namespace tabrel
