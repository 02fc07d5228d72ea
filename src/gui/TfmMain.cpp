#include "gui/TfmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>
#include <exception>
#include <new>

#include "engine/SourceChecks.h"
#include "gui/GuiMessages.h"
#include "gui/TfmAddrData.h"
#include "gui/TfmDateData.h"
#include "gui/TfmDebug.h"
#include "gui/TfmDump.h"
#include "gui/TfmFinish.h"
#include "gui/TfmMemoData.h"
#include "gui/TfmProc.h"
#include "gui/TfmStep1.h"
#include "gui/TfmStep2.h"
#include "gui/TfmStep3.h"
#include "gui/TfmTodoData.h"
#include "misc/CxDebugUtil.h"
#include "misc/WinUtil.h"
#include "palm/desktop/PalmDesktop.h"

namespace tabrel {

namespace {

// Positions of the page forms in m_pPages.
enum PagePosition : int {
    kStep1 = 0,
    kStep2 = 1,
    kStep3 = 2,
    kAddrData = 3,
    kDateData = 4,
    kTodoData = 5,
    kMemoData = 6,
    kProc = 7,
    kFinish = 8,
};

QPushButton* MakeButton(const char* name, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    return button;
}

}  // namespace

TfmMain::TfmMain(std::optional<std::uint32_t> palmVersion) {
    setObjectName("TfmMain");
    setWindowTitle("Palm Desktop - Tabrel Converter");
    setFixedSize(kWidth, kHeight);

    // Settings and the debug log.
    if (UseDataFolderSettings(m_state.m_ini, m_state.m_szDataFolder)) {
        DebugLog().SetFolder(m_state.m_szDataFolder);
    }
    LoadSettings(m_state.m_ini, m_state.m_settings);
    DebugLog().Enable(m_state.m_settings.m_bEnableDebug);
    DebugLog().SetLevel(m_state.m_settings.m_nLogLevel);
    LoadUserLibrary();

    BuildBands();
    m_pPages = {new TfmStep1(m_state, pClient),    new TfmStep2(m_state, pClient),
                new TfmStep3(m_state, pClient),    new TfmAddrData(m_state, pClient),
                new TfmDateData(m_state, pClient), new TfmTodoData(m_state, pClient),
                new TfmMemoData(m_state, pClient), new TfmProc(m_state, pClient),
                new TfmFinish(m_state, pClient)};
    for (TfmPage* page : m_pPages) {
        pClient->layout()->addWidget(page);
        page->hide();
    }
    m_state.m_pJob = palmVersion ? std::make_unique<ConversionJob>(*palmVersion)
                                 : std::make_unique<ConversionJob>();
    m_state.m_fnGoToPage = [this](int target, bool check) { return GoToPage(target, check); };
    m_state.m_fnCloseMain = [this] {
        QMetaObject::invokeMethod(this, "close", Qt::QueuedConnection);
    };

    if (const auto message = LoadPalmUsers(m_state.m_users)) {
        ShowMessageBox(nullptr, QString::fromStdString(message->caption),
                       QString::fromStdString(message->text));
    }
    m_nPageIndex = PageMode;
    GoToPage(PageMode, false);

    if (const QScreen* screen = QApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

TfmMain::~TfmMain() {
    SaveSettings(m_state.m_ini, m_state.m_settings);
    FreePalmUsers(m_state.m_users);
    // The pages go with the window; the job and its facades before the user library.
    m_state.m_fnGoToPage = nullptr;
    m_state.m_pJob.reset();
    FreeUserLibrary();
}

void TfmMain::BuildBands() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    pTop = new QWidget(this);
    pTop->setObjectName("pTop");
    pTop->setFixedHeight(kTopHeight);
    auto* top = new QHBoxLayout(pTop);
    imgIcon = new QLabel(pTop);
    imgIcon->setObjectName("imgIcon");
    imgIcon->setPixmap(QApplication::style()->standardIcon(QStyle::SP_DriveHDIcon).pixmap(48));
    imgText = new QLabel("<b>Tabrel Converter</b><br>Palm Desktop data to CSV and back", pTop);
    imgText->setObjectName("imgText");
    btnHelp = MakeButton("btnHelp", "&Help", pTop);
    top->addWidget(imgIcon);
    top->addWidget(imgText, 1);
    top->addWidget(btnHelp, 0, Qt::AlignTop);

    pClient = new QWidget(this);
    pClient->setObjectName("pClient");
    pClient->setFixedHeight(kClientHeight);
    auto* client = new QVBoxLayout(pClient);
    client->setContentsMargins(0, 0, 0, 0);

    pBottom = new QWidget(this);
    pBottom->setObjectName("pBottom");
    auto* bottom = new QHBoxLayout(pBottom);
    btnOption = MakeButton("btnOption", "&Options", pBottom);
    btnPrev = MakeButton("btnPrev", "< &Prev", pBottom);
    btnNext = MakeButton("btnNext", "&Next >", pBottom);
    btnClose = MakeButton("btnClose", "&Close", pBottom);
    bottom->addWidget(btnOption);
    bottom->addStretch(1);
    bottom->addWidget(btnPrev);
    bottom->addWidget(btnNext);
    bottom->addWidget(btnClose);

    layout->addWidget(pTop);
    layout->addWidget(pClient);
    layout->addWidget(pBottom, 1);

    connect(btnNext, &QPushButton::clicked, this, &TfmMain::OnNext);
    connect(btnPrev, &QPushButton::clicked, this, &TfmMain::OnPrev);
    connect(btnClose, &QPushButton::clicked, this, &QWidget::close);
    connect(btnHelp, &QPushButton::clicked, this, &TfmMain::OnHelp);
    connect(btnOption, &QPushButton::clicked, this, &TfmMain::OnOptions);
}

void TfmMain::ShowPage(TfmPage* page) {
    if (m_pShown != nullptr && m_pShown != page) {
        m_pShown->hide();
    }
    page->show();
    m_pShown = page;
}

TfmPage* TfmMain::RecordPage() const {
    switch (m_state.m_settings.m_nApp) {
        case AppCalendar:
            return m_pPages[kDateData];
        case AppTasks:
            return m_pPages[kTodoData];
        case AppMemos:
            return m_pPages[kMemoData];
        default:
            return m_pPages[kAddrData];
    }
}

bool TfmMain::GoToPage(int target, bool check) {
    try {
        return RunPageChange(target, check);
    } catch (const std::bad_alloc&) {
        // Said, and the wizard stays where it was; what the change held is released.
        const AppSettings& settings = m_state.m_settings;
        CX_LOG(kLogFailure, "Not enough memory for a page change.");
        ShowError(this,
                  NotEnoughMemoryMessage(PalmDataName(
                      settings.m_nApp, settings.m_nPmDataMode == PmDataByFile, settings.PmFile())));
        return false;
    } catch (const std::exception& error) {
        CX_LOG(kLogFailure, "Unhandled exception in a page change: %s", error.what());
    } catch (...) {
        CX_LOG(kLogFailure, "Unhandled exception in a page change.");
    }
    ShowCrashDialog(m_state, this);
    return false;
}

// The page flow. Next passes check (the page being left is checked), Prev and Convert More
// do not; the record page is always left before the progress page.
bool TfmMain::RunPageChange(int target, bool check) {
    switch (target) {
        case PageMode:
            m_nPageIndex = PageMode;
            m_pPages[kStep1]->PageHook(true);
            ShowPage(m_pPages[kStep1]);
            break;
        case PageSource:
            if (check && !m_pPages[kStep1]->PageHook(false)) {
                return false;
            }
            m_pPages[kStep2]->PageHook(true);
            ShowPage(m_pPages[kStep2]);
            break;
        case PageFields:
            if (check && !m_pPages[kStep2]->PageHook(false)) {
                return false;
            }
            m_pPages[kStep3]->PageHook(true);
            ShowPage(m_pPages[kStep3]);
            break;
        case PageRecords:
            if (check && !m_pPages[kStep3]->PageHook(false)) {
                return false;
            }
            RecordPage()->PageHook(true);
            ShowPage(RecordPage());
            break;
        case PageProgress:
            if (!RecordPage()->PageHook(false)) {
                return false;
            }
            ShowPage(m_pPages[kProc]);
            SetButtons(PageProgress);
            m_pPages[kProc]->PageHook(true);  // runs the pass, which goes on to the finish page
            return true;
        case PageFinish:
            m_pPages[kFinish]->PageHook(true);
            ShowPage(m_pPages[kFinish]);
            break;
        default:
            return false;
    }
    SetButtons(target);
    return true;
}

void TfmMain::SetButtons(int target) {
    btnPrev->setEnabled(target != PageMode && target != PageProgress && target != PageFinish);
    btnNext->setEnabled(target != PageProgress && target != PageFinish);
}

void TfmMain::OnNext() {
    ++m_nPageIndex;
    if (!GoToPage(m_nPageIndex, true)) {
        --m_nPageIndex;
    }
}

void TfmMain::OnPrev() {
    if (m_nPageIndex > 0) {
        --m_nPageIndex;
        GoToPage(m_nPageIndex, false);
    }
}

void TfmMain::OnHelp() {
    OpenWithDesktop(QString::fromStdString(GetAppFolder() + "tabrel.html"));
}

void TfmMain::OnOptions() {
    ShowDebugOptions(m_state, this);
}

}  // namespace tabrel
