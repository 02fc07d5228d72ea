#pragma once
// TfmFinish: The finish page: what was converted, from where to where, and the ways on.

#include <QLabel>
#include <QPushButton>
#include <string>

#include "gui/TfmPage.h"

namespace tabrel {

class TfmFinish final : public TfmPage {
    Q_OBJECT
  public:
    TfmFinish(WizardState& state, QWidget* parent);
    // Entering fills the labels from the settings and the last pass (every time); leaving
    // has nothing to check.
    bool PageHook(bool entering) override;

  private slots:
    void OnOpenPalmDesktop();
    void OnOpenCsv();
    void OnConvertMore();

  private:
    // The CSV file of the pass (the settings key may hold a cut name).
    std::string CsvPath() const;

    QLabel* lblMode = nullptr;
    QLabel* lblApp = nullptr;
    QLabel* lblSource = nullptr;
    QLabel* lblDest = nullptr;
    QLabel* lblResult = nullptr;
    QPushButton* btnPD = nullptr;
    QPushButton* btnCSV = nullptr;
    QPushButton* btnAnother = nullptr;
};

}  // namespace tabrel
