#pragma once
// TfmProc: The progress page: runs the conversion pass with a status label and a progress bar.

#include <QLabel>
#include <QProgressBar>

#include "engine/ConversionDriver.h"
#include "gui/TfmPage.h"

namespace tabrel {

class TfmProc final : public TfmPage, private ConversionObserver {
    Q_OBJECT
  public:
    // The pause between the end of the pass and the finish page, so the full bar is seen.
    static constexpr int kFinishPauseMs = 200;

    TfmProc(WizardState& state, QWidget* parent);
    // Entering runs the pass, keeps its result for the finish page, shows its failure, and
    // goes on to the finish page. Leaving has nothing to check.
    bool PageHook(bool entering) override;

  private:
    void SetProgress(int position) override;
    void SetStatus(std::string_view text) override;
    // Lets the window paint (the pass runs inside a click handler); clicks and keys wait.
    static void Repaint();

    QLabel* lblStatus = nullptr;
    QProgressBar* pbMain = nullptr;
};

}  // namespace tabrel
