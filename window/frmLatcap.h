#pragma once

#include "Calculation.h"
#include "CaseDocument.h"
#include "CaseFiles.h"
#include "DiagramsWindow.h"
#include "InputData.h"
#include "LayerRows.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>

#include <array>
#include <memory>

class QLabel;
class QLineEdit;

namespace Ui {
class frmLatcap;
}

namespace latcap {

class DropDownList;
class Platform;

// The program's one window: the inputs, the two calculation commands, the
// pile sketch, the layer table, the results and the commands for export,
// printing, help and exit, then those for case files, the report and the
// diagrams. The fixed controls come from frmLatcap.ui; the
// layer rows below the first are cloned from it at start-up. Every control
// carries its name as object name; the elements of a control array are named
// like "txtTo_2".
class frmLatcap final : public QWidget {
    Q_OBJECT

public:
    explicit frmLatcap(Platform& platform, QWidget* parent = nullptr);
    ~frmLatcap() override;

    // Opens a case file as the Open command does, after asking about unsaved
    // changes. Returns true when the boxes now hold the file's case.
    bool OpenCase(const QString& path);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static constexpr int kRows = kMaxLayers;

    void ConnectHandlers();

    // The window draws the case document: every box shows its text, the
    // layer rows their count.
    void ConnectDocument();
    void DrawCase();

    void Form_Load();
    void LoadLayers();
    void MakeThemVisible();
    void ReadIniFile();
    void GetInputData(InputTexts& texts);
    void ChangeInData();
    void ShowResults(const ResultTexts& texts);
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

    // Case files: the boxes as they stand, written and read back as text.
    void cmdOpen_Click();
    bool cmdSave_Click();
    bool cmdSaveAs_Click();

    // The road of both calculation commands: gather, say what runs, solve,
    // write the answer into its box and show the results.
    void RunCalculation(Command command, const char* waitText, QLineEdit* answerBox);

    // The report and the diagrams of the last calculation.
    void cmdReport_Click();
    void cmdDiagrams_Click();
    void cmdCheck_Click();
    void ShowDiagrams();
    // The drawing of the last calculation's diagrams; none without one.
    DiagramDrawing LastDiagrams(const QString& title) const;

    // Ends a calculation whose numbers came out unusable: no results, no
    // printing or export, and the message kept in the status line.
    void ArithmeticProblem(const char* message);

    Platform& platform_;
    // The case on the screen, its file and the last calculation, which the
    // report, the diagrams and the export show until an input changes.
    CaseDocument document_;
    CaseFiles caseFiles_;
    QPointer<DiagramsWindow> diagrams_;
    std::unique_ptr<Ui::frmLatcap> ui_;

    LayerRows rows_;
};

} // namespace latcap
