#pragma once
// TfmMain: the wizard's main window. It owns the pages and the conversion job, shows one
// page at a time in its middle band, moves between pages with Prev and Next, and carries the
// program's start-up and shut-down (settings, debug log, Palm user library and list).

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <array>
#include <cstdint>
#include <optional>

#include "gui/TfmPage.h"
#include "gui/WizardState.h"

namespace tabrel {

class TfmMain final : public QWidget {
    Q_OBJECT
  public:
    static constexpr int kWidth = 690;
    static constexpr int kHeight = 474;
    static constexpr int kTopHeight = 75;
    static constexpr int kClientHeight = 320;
    static constexpr int kPageCount = 9;

    // Starts up: settings, debug log, Palm user library, pages, job, Palm user list, page 0.
    // palmVersion: the installed Palm Desktop version number to assume (tests); none: read it.
    explicit TfmMain(std::optional<std::uint32_t> palmVersion = std::nullopt);
    // Shuts down: saves the settings, releases the user list, the job and the library.
    ~TfmMain() override;

    // Shows the page of target (0 to 5), leaving the current one first when check is set
    // (see the page flow in the .cpp); true when the target page is shown.
    bool GoToPage(int target, bool check);

    int GetPageIndex() const { return m_nPageIndex; }
    // The page forms in page order: TfmStep1, TfmStep2, TfmStep3, TfmAddrData, TfmDateData,
    // TfmTodoData, TfmMemoData, TfmProc, TfmFinish.
    TfmPage* GetPage(int position) const { return m_pPages.at(static_cast<std::size_t>(position)); }
    TfmPage* GetShownPage() const { return m_pShown; }
    WizardState& State() { return m_state; }

  private slots:
    void OnNext();
    void OnPrev();
    void OnHelp();
    void OnOptions();

  private:
    void BuildBands();
    void ShowPage(TfmPage* page);
    TfmPage* RecordPage() const;
    bool RunPageChange(int target, bool check);
    void SetButtons(int target);

    WizardState m_state;
    std::array<TfmPage*, kPageCount> m_pPages{};
    TfmPage* m_pShown = nullptr;
    int m_nPageIndex = 0;

    QWidget* pTop = nullptr;
    QWidget* pClient = nullptr;
    QWidget* pBottom = nullptr;
    QLabel* imgIcon = nullptr;
    QLabel* imgText = nullptr;
    QPushButton* btnHelp = nullptr;
    QPushButton* btnOption = nullptr;
    QPushButton* btnPrev = nullptr;
    QPushButton* btnNext = nullptr;
    QPushButton* btnClose = nullptr;
};

}  // namespace tabrel
