#include "frmLatcap.h"

#include "CalcReport.h"
#include "DesignCommands.h"
#include "Diagrams.h"
#include "DialogTexts.h"
#include "DropDownList.h"
#include "Export.h"
#include "FormLooks.h"
#include "Messages.h"
#include "NumberText.h"
#include "Print.h"
#include "SaveDialog.h"
#include "StatusObserver.h"
#include "Tables.h"
#include "WindowTexts.h"
#include "ui_frmLatcap.h"

#include <QCloseEvent>
#include <QDir>
#include <QShortcut>

namespace latcap {
namespace {

    QString Text(const char* latin1) { return QString::fromLatin1(latin1); }

    QString FromStd(const std::string& text) { return QString::fromStdString(text); }

} // namespace

frmLatcap::frmLatcap(Platform& platform, QWidget* parent)
    : QWidget(parent)
    , platform_(platform)
    , caseFiles_(document_, platform, this)
    , ui_(std::make_unique<Ui::frmLatcap>())
{
    ui_->setupUi(this);
    ApplyFonts(this);
    ShowArtwork(this, ui_->Image1, { ui_->cmdGama, ui_->cmdC, ui_->cmdFrictionAngle, ui_->cmdD }, ui_->cmdHelp);
    // The tables command stays out of sight until the window is double-clicked.
    ui_->cmdKqKcTables->hide();

    rows_.lblLayerNo[0] = ui_->lblLayerNo_0;
    rows_.txtFrom[0] = ui_->txtFrom_0;
    rows_.txtTo[0] = ui_->txtTo_0;
    rows_.txtGama[0] = ui_->txtGama_0;
    rows_.txtC[0] = ui_->txtC_0;
    rows_.selectFrictionAngle[0] = ui_->selectFrictionAngle_0;
    rows_.txtD[0] = ui_->txtD_0;

    // The count shown is always the count in use.
    ui_->selectNoLayers->setChoiceOnly();
    ConnectHandlers();
    Form_Load();
}

frmLatcap::~frmLatcap() = default;

void frmLatcap::ConnectHandlers()
{
    using Field = CaseDocument::Field;
    for (const auto& [box, field] : { std::pair { ui_->txtCSF, Field::Csf }, { ui_->txtH, Field::H },
             { ui_->txtM, Field::M }, { ui_->txtL, Field::L }, { ui_->Text1, Field::Title } }) {
        if (field != Field::Title)
            connect(box, &QLineEdit::textChanged, this, [this, box](const QString& text) { MarkMisread(box, text); });
        connect(box, &QLineEdit::textChanged, this,
            [this, field](const QString& text) { document_.SetText(field, 0, text); });
    }
    connect(ui_->selectNoLayers, &DropDownList::clicked, this, &frmLatcap::selectNoLayers_Click);
    connect(ui_->cmdGama, &QPushButton::clicked, this, &frmLatcap::cmdGama_Click);
    connect(ui_->cmdC, &QPushButton::clicked, this, &frmLatcap::cmdC_Click);
    connect(ui_->cmdFrictionAngle, &QPushButton::clicked, this, &frmLatcap::cmdFrictionAngle_Click);
    connect(ui_->cmdD, &QPushButton::clicked, this, &frmLatcap::cmdD_Click);
    connect(ui_->cmdCalcL, &QPushButton::clicked, this, &frmLatcap::cmdCalcL_Click);
    connect(ui_->cmdCalcM, &QPushButton::clicked, this, &frmLatcap::cmdCalcM_Click);
    connect(ui_->cmdExport, &QPushButton::clicked, this, &frmLatcap::cmdExport_Click);
    connect(ui_->cmdKqKcTables, &QPushButton::clicked, this, &frmLatcap::cmdKqKcTables_Click);
    connect(ui_->cmdPrint, &QPushButton::clicked, this, &frmLatcap::cmdPrint_Click);
    connect(ui_->cmdHelp, &QPushButton::clicked, this, &frmLatcap::cmdHelp_Click);
    connect(ui_->cmdExit, &QPushButton::clicked, this, &frmLatcap::cmdExit_Click);
    ClickOnEnter(this);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { platform_.showHelp(this); });

    connect(ui_->cmdOpen, &QPushButton::clicked, this, &frmLatcap::cmdOpen_Click);
    connect(ui_->cmdSave, &QPushButton::clicked, this, &frmLatcap::cmdSave_Click);
    connect(ui_->cmdSaveAs, &QPushButton::clicked, this, &frmLatcap::cmdSaveAs_Click);
    // Each command key presses its button, so a key does nothing that the
    // button would not.
    const auto shortcut = [this](QKeyCombination keys, QPushButton* button) {
        connect(new QShortcut(QKeySequence(keys), this), &QShortcut::activated, button, &QPushButton::click);
    };
    shortcut(Qt::CTRL | Qt::Key_O, ui_->cmdOpen);
    shortcut(Qt::CTRL | Qt::Key_S, ui_->cmdSave);
    shortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_S, ui_->cmdSaveAs);
    connect(ui_->cmdReport, &QPushButton::clicked, this, &frmLatcap::cmdReport_Click);
    connect(ui_->cmdDiagrams, &QPushButton::clicked, this, &frmLatcap::cmdDiagrams_Click);
    connect(ui_->cmdCheck, &QPushButton::clicked, this, &frmLatcap::cmdCheck_Click);
    connect(ui_->cmdDesign, &QPushButton::clicked, this, [this] { EditDesignSettings(platform_, this, document_); });
    shortcut(Qt::CTRL | Qt::Key_R, ui_->cmdReport);
    shortcut(Qt::CTRL | Qt::Key_D, ui_->cmdDiagrams);
    shortcut(Qt::CTRL | Qt::Key_K, ui_->cmdCheck);
    // The title heads the diagrams; changing it changes no result.
    connect(ui_->Text1, &QLineEdit::textChanged, this, [this] {
        if (diagrams_ && document_.LastCalculation())
            ShowDiagrams();
    });
    setAcceptDrops(true);
}

void frmLatcap::ConnectDocument()
{
    connect(&document_, &CaseDocument::TextChanged, this, &frmLatcap::DrawCase);
    connect(&document_, &CaseDocument::InputsChanged, this, &frmLatcap::ChangeInData);
    connect(&document_, &CaseDocument::ModifiedChanged, this, [this] { caseFiles_.ShowTitle(); });
    connect(&document_, &CaseDocument::PathChanged, this, [this] { caseFiles_.ShowTitle(); });
}

// Each box shows its text of the case; a box is set only when its text
// differs, so that what is being typed stays as it is.
void frmLatcap::DrawCase()
{
    using Field = CaseDocument::Field;
    const auto show = [](QLineEdit* box, const QString& text) {
        if (box->text() != text)
            box->setText(text);
    };
    show(ui_->Text1, document_.Text(Field::Title));
    show(ui_->txtCSF, document_.Text(Field::Csf));
    show(ui_->txtH, document_.Text(Field::H));
    show(ui_->txtM, document_.Text(Field::M));
    show(ui_->txtL, document_.Text(Field::L));
    const int count = document_.LayerCount();
    if (ui_->selectNoLayers->currentIndex() != count - 1)
        ui_->selectNoLayers->setCurrentIndex(count - 1);
    for (std::size_t i = 0; i < kRows; ++i) {
        const int row = static_cast<int>(i);
        show(rows_.txtTo[i], document_.Text(Field::To, row));
        show(rows_.txtFrom[i], document_.Top(row));
        show(rows_.txtGama[i], document_.Text(Field::Gama, row));
        show(rows_.txtC[i], document_.Text(Field::C, row));
        show(rows_.txtD[i], document_.Text(Field::D, row));
        const QString angle = document_.Text(Field::Phi, row);
        if (rows_.selectFrictionAngle[i]->currentText() != angle)
            rows_.selectFrictionAngle[i]->setEditText(angle);
        rows_.txtTo[i]->setEnabled(row != count - 1);
    }
    MakeThemVisible();
}

void frmLatcap::Form_Load()
{
    ReadIniFile();
    ui_->lblWhat->setText(QString());
    LoadLayers();
    ConnectDocument();
    for (int n = 1; n <= 5; ++n)
        ui_->selectNoLayers->addItem(FromStd(FormatMask(n, mask::kLayerCount)));
    ui_->selectNoLayers->selectItem(0);
    ui_->cmdPrint->setEnabled(false);
    ui_->Text1->setFocus();
}

void frmLatcap::LoadLayers()
{
    using Field = CaseDocument::Field;
    CloneLayerRows(this, rows_);
    for (int i = 0; i < kRows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        for (QLineEdit* box : { rows_.txtTo[at], rows_.txtGama[at], rows_.txtC[at], rows_.txtD[at] })
            connect(box, &QLineEdit::textChanged, this, [box](const QString& text) { MarkMisread(box, text); });
        DropDownList* angles = rows_.selectFrictionAngle[at];
        connect(
            angles, &QComboBox::editTextChanged, this, [angles](const QString& text) { MarkMisread(angles, text); });
        connect(rows_.txtTo[at], &QLineEdit::textChanged, this, [this, i] { txtTo_Change(i); });
        for (const auto& [box, field] : { std::pair { rows_.txtGama[at], Field::Gama }, { rows_.txtC[at], Field::C },
                 { rows_.txtD[at], Field::D } })
            connect(box, &QLineEdit::textChanged, this,
                [this, field, i](const QString& text) { document_.SetText(field, i, text); });
        connect(angles, &QComboBox::editTextChanged, this,
            [this, i](const QString& text) { document_.SetText(Field::Phi, i, text); });
        // Choosing an item is a change of the input, even the item shown.
        connect(angles, &DropDownList::clicked, &document_, &CaseDocument::InputChosen);
    }
}

void frmLatcap::MakeThemVisible()
{
    for (int i = 0; i < kRows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const bool shown = i < document_.LayerCount();
        for (QWidget* element : std::initializer_list<QWidget*> { rows_.lblLayerNo[at], rows_.txtFrom[at],
                 rows_.txtTo[at], rows_.txtC[at], rows_.txtD[at], rows_.selectFrictionAngle[at], rows_.txtGama[at] })
            element->setVisible(shown);
    }
}

// The layer rules (the deepest bottom fixed at 100 m, the former deepest
// one emptied) are the document's; the rows follow it.
void frmLatcap::selectNoLayers_Click()
{
    const long chosen = std::lround(ReadNumber(ui_->selectNoLayers->currentText().toStdString()));
    document_.SetLayerCount(static_cast<int>(std::clamp<long>(chosen, 1, kRows)));
}

// The next layer's top follows through the document.
void frmLatcap::txtTo_Change(int index)
{
    document_.SetText(CaseDocument::Field::To, index, rows_.txtTo[static_cast<std::size_t>(index)]->text());
}

// The copy buttons: layer 1's text into every other row, hidden ones too.
void frmLatcap::cmdGama_Click() { document_.CopyDown(CaseDocument::Field::Gama); }

void frmLatcap::cmdC_Click() { document_.CopyDown(CaseDocument::Field::C); }

void frmLatcap::cmdFrictionAngle_Click() { document_.CopyDown(CaseDocument::Field::Phi); }

void frmLatcap::cmdD_Click() { document_.CopyDown(CaseDocument::Field::D); }

void frmLatcap::ReadIniFile()
{
    // A settings file that is no small regular file is never opened: a pipe
    // would stop the window from opening, a device would fill the memory.
    const QString problem = document_.ReadSettings();
    if (!problem.isEmpty())
        platform_.showMessage(this, Text(text::kErrorTitle), problem, Platform::Buttons::Ok);
    ui_->txtCSF->setText(document_.Text(CaseDocument::Field::Csf));
}

void frmLatcap::GetInputData(InputTexts& texts) { texts = document_.Inputs(); }

void frmLatcap::ChangeInData()
{
    ui_->cmdExport->setEnabled(false);
    ui_->cmdReport->setEnabled(false);
    ui_->cmdPrint->setEnabled(false);
    document_.SetLastCalculation(nullptr);
    if (diagrams_)
        diagrams_->setDrawing({});
    ui_->lblMoment->setText(QString());
    ui_->lblShear->setText(QString());
    ui_->lblZr->setText(QString());
    // A status left by an earlier calculation no longer belongs to the inputs.
    ui_->lblWhat->setText(QString());
    ui_->lblWhat->setToolTip(QString());
    ui_->lblFactors->setText(QString());
}

void frmLatcap::ShowResults(const ResultTexts& texts)
{
    ui_->lblZr->setText(FromStd(texts.zr));
    ui_->lblMoment->setText(FromStd(texts.moment));
    ui_->lblShear->setText(FromStd(texts.shear));
}

void frmLatcap::ArithmeticProblem(const char* message)
{
    ChangeInData();
    ui_->lblWhat->setText(Text(message));
    platform_.showMessage(this, Text(text::kAppTitle), Text(message), Platform::Buttons::Ok);
}

void frmLatcap::cmdCalcL_Click() { RunCalculation(Command::CalcL, text::kDepthWait, ui_->txtL); }

void frmLatcap::cmdCalcM_Click() { RunCalculation(Command::CalcM, text::kMomentWait, ui_->txtM); }

void frmLatcap::RunCalculation(Command command, const char* waitText, QLineEdit* answerBox)
{
    InputTexts texts;
    GetInputData(texts);
    StatusObserver observer(platform_, this, ui_->lblWhat, waitText);
    auto calculation
        = std::make_shared<const Calculation>(CalculateDesign(command, texts, document_.Factors(), &observer));
    const Calculation& calc = *calculation;
    if (!calc.dataOk) {
        platform_.showMessage(this, Text(text::kErrorTitle), Text(text::kNotEnoughData), Platform::Buttons::Ok);
        return;
    }
    if (calc.outcome.arithmeticProblem) {
        ArithmeticProblem(calc.messages.back().c_str());
        return;
    }
    // Writing the answer clears the results through the box's change handler,
    // so the results come after it.
    answerBox->setText(FromStd(calc.outcome.answer));
    ShowResults(calc.results);
    QStringList notes;
    for (const MisreadBox& box : calc.misread)
        notes.append(FromStd(MisreadNote(box)));
    if (!calc.validity.empty())
        ui_->lblWhat->setText(FromStd(calc.validity));
    else if (!observer.last.isEmpty())
        ui_->lblWhat->setText(observer.last);
    else
        ShowNotes(ui_->lblWhat, notes);
    ui_->cmdPrint->setEnabled(true);
    ui_->cmdExport->setEnabled(true);
    ui_->cmdReport->setEnabled(true);
    document_.SetLastCalculation(std::move(calculation));
    ui_->lblFactors->setText(FactorsNote(document_));
    if (diagrams_)
        ShowDiagrams();
}

void frmLatcap::cmdReport_Click()
{
    // After a design check the report is the check's.
    const auto& check = document_.LastCheck();
    const auto calculation = check ? check->atDepth : document_.LastCalculation();
    if (!calculation)
        return;
    JobDetails details = document_.Job();
    if (!platform_.editJobDetails(this, details))
        return;
    document_.SetJob(details);
    const CalcReport report = MakeCalcReport(MakeReportSource(calculation, document_.Text(CaseDocument::Field::Title),
        document_.CsfSourceText(), document_.Job(), check, document_.Factors().name));
    const SaveRequest request { QStringLiteral("Save Calculation Report"),
        QStringLiteral("PDF files(*.pdf)|*.pdf|All files (*.*)|*.*"), document_.ReportFileName(), QStringLiteral("pdf"),
        document_.Path() };
    SaveThroughDialog(platform_, this, request,
        [&report](QIODevice& device, QString& error) { return WriteCalcReportPdf(device, report, error); });
}

// The check changes no box; its report follows with Report...
void frmLatcap::cmdCheck_Click()
{
    CheckDesign(platform_, this, document_);
    if (!document_.LastCheck())
        return;
    ui_->cmdReport->setEnabled(true);
    ui_->lblFactors->setText(FactorsNote(document_));
}

void frmLatcap::cmdDiagrams_Click()
{
    if (!diagrams_)
        diagrams_ = new DiagramsWindow(this);
    ShowDiagrams();
    diagrams_->show();
    diagrams_->raise();
    diagrams_->activateWindow();
}

DiagramDrawing frmLatcap::LastDiagrams(const QString& title) const
{
    if (!document_.LastCalculation())
        return {};
    return [source = DiagramSource { document_.LastCalculation(), title }](
               QPainter& painter, const QRectF& area) { DrawDiagrams(painter, area, source); };
}

void frmLatcap::ShowDiagrams()
{
    const QString title = ui_->Text1->text();
    diagrams_->setWindowTitle(title.isEmpty() ? QStringLiteral("Diagrams") : QStringLiteral("Diagrams - ") + title);
    diagrams_->setDrawing(LastDiagrams(title));
}

void frmLatcap::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only the bare window counts; the sketch lets its clicks through.
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr)
        Form_DblClick();
    QWidget::mouseDoubleClickEvent(event);
}

void frmLatcap::Form_DblClick() { ui_->cmdKqKcTables->show(); }

void frmLatcap::cmdExport_Click()
{
    if (const auto& last = document_.LastCalculation())
        ExportCalcDetails(platform_, this, *last->state, document_.Path());
}

void frmLatcap::cmdKqKcTables_Click() { WriteKqKcTables(); }

void frmLatcap::WriteKqKcTables() { SaveCoefficientTables(platform_, this, QDir::currentPath()); }

// The copy shows the window on white paper without the commands that mean
// nothing there; the window looks as before afterwards, whatever happened.
void frmLatcap::cmdPrint_Click()
{
    QString reason;
    bool printed = false;
    const QImage page = TakePage(this,
        { ui_->cmdPrint, ui_->cmdExport, ui_->cmdExit, ui_->cmdHelp, ui_->cmdOpen, ui_->cmdSave, ui_->cmdSaveAs,
            ui_->cmdReport, ui_->cmdDiagrams, ui_->cmdCheck, ui_->cmdDesign },
        [&](const QImage& taken) { printed = platform_.printPage(taken, reason); });
    // The window looks itself again before it says that printing failed.
    if (!printed)
        OfferPagePdf(platform_, this, page, reason, document_.Path());
}

void frmLatcap::cmdHelp_Click() { platform_.showHelp(this); }

void frmLatcap::cmdExit_Click() { close(); }

void frmLatcap::closeEvent(QCloseEvent* event)
{
    if (!caseFiles_.MayLoseChanges()) {
        event->ignore();
        return;
    }
    if (diagrams_)
        diagrams_->close();
    event->accept();
}

void frmLatcap::dragEnterEvent(QDragEnterEvent* event)
{
    if (!DraggedFile(event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void frmLatcap::dropEvent(QDropEvent* event)
{
    const QString path = DraggedFile(event->mimeData());
    if (path.isEmpty())
        return;
    event->acceptProposedAction();
    OpenCase(path);
}

void frmLatcap::cmdOpen_Click()
{
    if (caseFiles_.OpenChosen())
        ui_->Text1->setFocus(Qt::OtherFocusReason);
}

bool frmLatcap::OpenCase(const QString& path)
{
    if (!caseFiles_.Open(path))
        return false;
    ui_->Text1->setFocus(Qt::OtherFocusReason);
    return true;
}

bool frmLatcap::cmdSave_Click() { return caseFiles_.Save(); }

bool frmLatcap::cmdSaveAs_Click() { return caseFiles_.SaveAs(); }

} // namespace latcap
