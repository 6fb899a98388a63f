#pragma once
// "Setup - Filter": the 25 screening criteria and the two option-analysis choices. No OK or
// Cancel: however the dialog is closed, every box goes through ValueCheck and the settings file is
// rewritten. The boxes are named after their criteria (TX_MinPE, ...); the option buttons
// OP_DrvQVAfrom_0..3 and OP_AvgQVAusing_0..1.

#include <QDialog>
#include <array>

#include "core/SharedState.h"

class DesktopServices;
class QButtonGroup;
class PassCounter;
class QGridLayout;
class QLabel;
class QTimer;
class QLineEdit;
class QPushButton;

class Filter : public QDialog {
    Q_OBJECT
public:
    static constexpr int CriterionCount = 25;

    Filter(SharedState& state, DesktopServices& services, QWidget* parent = nullptr);

    QPushButton* CM_FilterUseDefault;
    QButtonGroup* OP_DrvQVAfrom;
    QButtonGroup* OP_AvgQVAusing;
    // Under the fields: how many symbols of the quote cache the settings as edited save.
    QLabel* LabelPassCount;

    void done(int result) override;

private:
    QGridLayout* BuildCriterionRows();
    void AddUnderlyingRows(QGridLayout* grid);
    void AddOptionRows(QGridLayout* grid);
    QWidget* BuildOptionGroups();
    void Form_Activate();
    void CM_FilterUseDefault_Click();
    void Form_Unload();
    void StartPassCount();
    // The settings as the boxes and buttons stand, taken over as closing the dialog would.
    UserSettings EditedSettings() const;

    SharedState& state_;
    // In the order of the settings file (MinPE first, MinQVAP_QVAC last).
    std::array<QLineEdit*, CriterionCount> criterionBoxes_{};
    PassCounter* counter_ = nullptr;
    QTimer* recount_ = nullptr;
};
