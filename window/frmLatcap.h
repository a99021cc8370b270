#pragma once

#include "AnalysisState.h"
#include "Commands.h"

#include <QWidget>

#include <array>
#include <memory>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

namespace latcap {

class DropDownList;
class PileSketch;
class Platform;

// The program's one window: the inputs, the two calculation commands, the
// pile sketch, the layer table, the results and the commands for export,
// printing, help and exit. Every control carries its name as object name;
// the elements of a control array are named like "txtTo_2".
class frmLatcap final : public QWidget {
    Q_OBJECT

public:
    explicit frmLatcap(Platform& platform, QWidget* parent = nullptr);
    ~frmLatcap() override;

    // What the last gathering and calculation left behind.
    const AnalysisState& analysisState() const { return *state_; }

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    static constexpr int kRows = kMaxLayers;

    void CreateControls();
    void CreateSketch();
    void CreateLayerTable();
    void ConnectHandlers();
    void SetFocusOrder();

    void Form_Load();
    void LoadLayers();
    void MakeThemVisible();
    void ReadIniFile();
    void GetInputData();
    void ChangeInData();
    void ShowResults();
    void WriteKqKcTables();

    void Form_DblClick();
    void selectNoLayers_Click();
    void txtTo_Change(int index);
    void cmdGama_Click();
    void cmdC_Click();
    void cmdFrictionAngle_Click();
    void cmdD_Click();
    void cmdCalcL_Click();
    void cmdCalcM_Click();
    void cmdExport_Click();
    void cmdKqKcTables_Click();
    void cmdPrint_Click();
    void cmdHelp_Click();
    void cmdExit_Click();

    // The road of both calculation commands: gather, say what runs, solve,
    // write the answer into its box and show the results.
    void RunCalculation(const char* waitText, const char* arithmeticText,
                        CalcOutcome (*run)(AnalysisState&, SolverSink&), QLineEdit* answerBox);

    // Ends a calculation whose numbers came out unusable: no results, no
    // printing or export, and the message kept in the status line.
    void ArithmeticProblem(const char* message);

    Platform& platform_;
    std::unique_ptr<AnalysisState> state_;

    QLabel* lblTitle = nullptr;
    QLineEdit* Text1 = nullptr;
    QLabel* Image1 = nullptr;
    QLineEdit* txtCSF = nullptr;
    QLineEdit* txtH = nullptr;
    QLineEdit* txtM = nullptr;
    QLineEdit* txtL = nullptr;
    QPushButton* cmdCalcL = nullptr;
    QPushButton* cmdCalcM = nullptr;
    QLabel* lblZr = nullptr;
    PileSketch* sketch_ = nullptr;
    QLabel* lblMoment = nullptr;
    QLabel* lblShear = nullptr;
    QPushButton* cmdKqKcTables = nullptr;
    DropDownList* selectNoLayers = nullptr;
    QPushButton* cmdGama = nullptr;
    QPushButton* cmdC = nullptr;
    QPushButton* cmdFrictionAngle = nullptr;
    QPushButton* cmdD = nullptr;
    QFrame* Line17_0 = nullptr;
    QLabel* lblWhat = nullptr;
    QLabel* lblDisclamer = nullptr;
    QPushButton* cmdHelp = nullptr;
    QPushButton* cmdExport = nullptr;
    QPushButton* cmdPrint = nullptr;
    QPushButton* cmdExit = nullptr;

    std::array<QLabel*, 9> Label {};
    std::array<QLabel*, 15> Lable {};

    std::array<QLabel*, kRows> lblLayerNo {};
    std::array<QLineEdit*, kRows> txtFrom {};
    std::array<QLineEdit*, kRows> txtTo {};
    std::array<QLineEdit*, kRows> txtGama {};
    std::array<QLineEdit*, kRows> txtC {};
    std::array<DropDownList*, kRows> selectFrictionAngle {};
    std::array<QLineEdit*, kRows> txtD {};
};

} // namespace latcap
