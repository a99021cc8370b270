#include "frmLatcap.h"

#include "CalcReport.h"
#include "Calculation.h"
#include "CaseFile.h"
#include "Coefficients.h"
#include "Commands.h"
#include "Diagrams.h"
#include "DiagramsWindow.h"
#include "DisplayFormats.h"
#include "DropDownList.h"
#include "Export.h"
#include "FileFormats.h"
#include "InputData.h"
#include "Messages.h"
#include "NumberText.h"
#include "PileSketch.h"
#include "Platform.h"
#include "Print.h"
#include "ReadFile.h"
#include "SaveDialog.h"
#include "Tables.h"
#include "ui_frmLatcap.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSvgRenderer>

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace latcap {
namespace {

    // A font in a form file has whole points only; the form keeps the sizes
    // with a fraction in this property of the control.
    constexpr const char* kPointSize = "pointSizeF";

    QString Text(const char* latin1) { return QString::fromLatin1(latin1); }

    QString FromStd(const std::string& text) { return QString::fromStdString(text); }

    // The window's default font is the platform's general font, in the size
    // the form gives; controls that name their own size get it afterwards.
    void ApplyFonts(QWidget* form)
    {
        QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        general.setStyleHint(QFont::SansSerif);
        form->setFont(general);
        QList<QWidget*> widgets = form->findChildren<QWidget*>();
        widgets.prepend(form);
        for (QWidget* widget : widgets) {
            const QVariant size = widget->property(kPointSize);
            if (!size.isValid())
                continue;
            QFont font = widget->font();
            font.setPointSizeF(size.toDouble());
            widget->setFont(font);
        }
    }

    QPixmap Artwork(const QString& name, QSize size)
    {
        QSvgRenderer renderer(QStringLiteral(":/latcap/") + name);
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        return QPixmap::fromImage(image);
    }

    constexpr const char* kCaseFilter = "Case files (*.case)|*.case|All files (*.*)|*.*";

    // The one local file a drag carries, or an empty string.
    QString DraggedFile(const QMimeData* data)
    {
        const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
        return urls.size() == 1 && urls.front().isLocalFile() ? urls.front().toLocalFile() : QString();
    }

    // A box whose text is not wholly a number carries this property, and its
    // own tool tip waits in the other one while the mark shows.
    constexpr const char* kMisread = "misread";
    constexpr const char* kPlainToolTip = "plainToolTip";

    QString ArrayName(const char* name, int index) { return Text(name) + QLatin1Char('_') + QString::number(index); }

    // Says in the status line that the solvers run, shows each solver report
    // in a message box under the program's title and remembers the last one
    // for the status line.
    class WindowObserver final : public CalcObserver {
    public:
        WindowObserver(Platform& platform, QWidget* window, QLabel* status, const char* waitText)
            : platform_(platform)
            , window_(window)
            , status_(status)
            , waitText_(waitText)
        {
        }

        void Solving() override
        {
            status_->setText(Text(waitText_));
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }

        void IterationProblem(SolverProblem problem) override
        {
            last = Text(IterationMessage(problem));
            platform_.showMessage(window_, Text(text::kAppTitle), last, Platform::Buttons::Ok);
        }

        QString last;

    private:
        Platform& platform_;
        QWidget* window_;
        QLabel* status_;
        const char* waitText_;
    };

} // namespace

frmLatcap::frmLatcap(Platform& platform, QWidget* parent)
    : QWidget(parent)
    , platform_(platform)
    , state_(std::make_unique<AnalysisState>())
    , ui_(std::make_unique<Ui::frmLatcap>())
{
    ui_->setupUi(this);
    ApplyFonts(this);
    ShowArtwork();
    // The tables command stays out of sight until the window is double-clicked.
    ui_->cmdKqKcTables->hide();

    lblLayerNo[0] = ui_->lblLayerNo_0;
    txtFrom[0] = ui_->txtFrom_0;
    txtTo[0] = ui_->txtTo_0;
    txtGama[0] = ui_->txtGama_0;
    txtC[0] = ui_->txtC_0;
    selectFrictionAngle[0] = ui_->selectFrictionAngle_0;
    txtD[0] = ui_->txtD_0;

    // The count shown is always the count in use.
    ui_->selectNoLayers->setChoiceOnly();
    ConnectHandlers();
    Form_Load();
}

frmLatcap::~frmLatcap() = default;

// The pictures are drawn from their vector artwork at the size each control
// shows them.
void frmLatcap::ShowArtwork()
{
    QIcon icon;
    icon.addPixmap(Artwork(QStringLiteral("latcap.svg"), QSize(16, 16)));
    icon.addPixmap(Artwork(QStringLiteral("latcap.svg"), QSize(32, 32)));
    setWindowIcon(icon);
    ui_->Image1->setPixmap(Artwork(QStringLiteral("logo.svg"), ui_->Image1->size()));
    const QPixmap triangle = Artwork(QStringLiteral("triangle.svg"), ui_->cmdGama->iconSize());
    for (QPushButton* copy : { ui_->cmdGama, ui_->cmdC, ui_->cmdFrictionAngle, ui_->cmdD })
        copy->setIcon(triangle);
    ui_->cmdHelp->setIcon(Artwork(QStringLiteral("help.svg"), ui_->cmdHelp->iconSize()));
}

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
    shortcut(Qt::CTRL | Qt::Key_R, ui_->cmdReport);
    shortcut(Qt::CTRL | Qt::Key_D, ui_->cmdDiagrams);
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
    connect(&document_, &CaseDocument::ModifiedChanged, this, &frmLatcap::ShowCaseTitle);
    connect(&document_, &CaseDocument::PathChanged, this, &frmLatcap::ShowCaseTitle);
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
        show(txtTo[i], document_.Text(Field::Bottom, row));
        show(txtFrom[i], document_.Top(row));
        show(txtGama[i], document_.Text(Field::UnitWeight, row));
        show(txtC[i], document_.Text(Field::Cohesion, row));
        show(txtD[i], document_.Text(Field::Width, row));
        const QString angle = document_.Text(Field::FrictionAngle, row);
        if (selectFrictionAngle[i]->currentText() != angle)
            selectFrictionAngle[i]->setEditText(angle);
        txtTo[i]->setEnabled(row != count - 1);
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
    const float rowPitch = static_cast<float>(txtFrom[0]->height()) * 1.3f;
    auto addAngles = [](DropDownList* list) {
        for (int degrees = 0; degrees <= 45; degrees += 5)
            list->addItem(FromStd(FormatMask(degrees, mask::kAngle)));
        list->selectItem(0);
    };
    auto connectRow = [this](int i) {
        using Field = CaseDocument::Field;
        const auto at = static_cast<std::size_t>(i);
        for (QLineEdit* box : { txtTo[at], txtGama[at], txtC[at], txtD[at] })
            connect(box, &QLineEdit::textChanged, this, [this, box](const QString& text) { MarkMisread(box, text); });
        connect(selectFrictionAngle[at], &QComboBox::editTextChanged, this,
            [this, list = selectFrictionAngle[at]](const QString& text) { MarkMisread(list, text); });
        connect(txtTo[at], &QLineEdit::textChanged, this, [this, i] { txtTo_Change(i); });
        for (const auto& [box, field] : { std::pair { txtGama[at], Field::UnitWeight },
                 { txtC[at], Field::Cohesion }, { txtD[at], Field::Width } })
            connect(box, &QLineEdit::textChanged, this,
                [this, field, i](const QString& text) { document_.SetText(field, i, text); });
        connect(selectFrictionAngle[at], &QComboBox::editTextChanged, this,
            [this, i](const QString& text) { document_.SetText(Field::FrictionAngle, i, text); });
        // Choosing an item is a change of the input, even the item shown.
        connect(selectFrictionAngle[at], &DropDownList::clicked, &document_, &CaseDocument::InputChosen);
    };

    txtFrom[0]->setEnabled(false);
    txtFrom[0]->setText(QStringLiteral("0"));
    connectRow(0);
    addAngles(selectFrictionAngle[0]);

    for (int i = 1; i < kRows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const auto top = [&](const QWidget* first) {
            return static_cast<int>(std::lround(static_cast<float>(i) * rowPitch + static_cast<float>(first->y())));
        };
        auto copyDesign = [&](QWidget* element, const QWidget* first, const char* name) {
            element->setObjectName(ArrayName(name, i));
            element->setFont(first->font());
            element->setToolTip(first->toolTip());
            element->setFocusPolicy(first->focusPolicy());
            element->setGeometry(first->x(), top(first), first->width(), first->height());
            element->hide();
        };
        auto* number = new QLabel(FromStd(FormatMask(i + 1, mask::kLayerCount)), this);
        number->setAlignment(lblLayerNo[0]->alignment());
        copyDesign(number, lblLayerNo[0], "lblLayerNo");
        lblLayerNo[at] = number;
        txtFrom[at] = new QLineEdit(this);
        copyDesign(txtFrom[at], txtFrom[0], "txtFrom");
        txtFrom[at]->setEnabled(false);
        txtTo[at] = new QLineEdit(this);
        copyDesign(txtTo[at], txtTo[0], "txtTo");
        txtGama[at] = new QLineEdit(this);
        copyDesign(txtGama[at], txtGama[0], "txtGama");
        txtC[at] = new QLineEdit(this);
        copyDesign(txtC[at], txtC[0], "txtC");
        selectFrictionAngle[at] = new DropDownList(this);
        copyDesign(selectFrictionAngle[at], selectFrictionAngle[0], "selectFrictionAngle");
        txtD[at] = new QLineEdit(this);
        copyDesign(txtD[at], txtD[0], "txtD");
        connectRow(i);
        addAngles(selectFrictionAngle[at]);
        // The new row takes its turn in the focus order right after the one above.
        QWidget* previous = txtD[at - 1];
        for (QWidget* element :
            std::initializer_list<QWidget*> { txtTo[at], txtGama[at], txtC[at], selectFrictionAngle[at], txtD[at] }) {
            setTabOrder(previous, element);
            previous = element;
        }
    }
}

void frmLatcap::MakeThemVisible()
{
    for (int i = 0; i < kRows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const bool shown = i < document_.LayerCount();
        for (QWidget* element : std::initializer_list<QWidget*> {
                 lblLayerNo[at], txtFrom[at], txtTo[at], txtC[at], txtD[at], selectFrictionAngle[at], txtGama[at] })
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
    document_.SetText(CaseDocument::Field::Bottom, index, txtTo[static_cast<std::size_t>(index)]->text());
}

// The copy buttons: layer 1's text into every other row, hidden ones too.
void frmLatcap::cmdGama_Click() { document_.CopyDown(CaseDocument::Field::UnitWeight); }

void frmLatcap::cmdC_Click() { document_.CopyDown(CaseDocument::Field::Cohesion); }

void frmLatcap::cmdFrictionAngle_Click() { document_.CopyDown(CaseDocument::Field::FrictionAngle); }

void frmLatcap::cmdD_Click() { document_.CopyDown(CaseDocument::Field::Width); }

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

void frmLatcap::MarkMisread(QWidget* box, const QString& text)
{
    const NumberReading reading = ReadNumberText(text.toStdString());
    if (!reading.misread && !box->property(kMisread).toBool())
        return;
    if (!box->property(kPlainToolTip).isValid())
        box->setProperty(kPlainToolTip, box->toolTip());
    box->setProperty(kMisread, reading.misread);
    const QString plain = box->property(kPlainToolTip).toString();
    if (reading.misread) {
        box->setToolTip(plain + (plain.isEmpty() ? QString() : QStringLiteral(" ")) + QStringLiteral("(read as ")
            + FromStd(ShortestText(reading.value)) + QLatin1Char(')'));
        QPalette marked;
        marked.setColor(QPalette::Base, QColor(255, 205, 205));
        marked.setColor(QPalette::Text, QColor(150, 0, 0));
        box->setPalette(marked);
    } else {
        box->setToolTip(plain);
        box->setPalette(QPalette());
    }
}

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
    WindowObserver observer(platform_, this, ui_->lblWhat, waitText);
    auto calculation = std::make_shared<const Calculation>(Calculate(command, texts, document_.LayerCount(), &observer));
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
    ui_->lblWhat->setText(!calc.validity.empty() ? FromStd(calc.validity)
            : !observer.last.isEmpty()           ? observer.last
                                                 : notes.join(QStringLiteral("; ")));
    ui_->cmdPrint->setEnabled(true);
    ui_->cmdExport->setEnabled(true);
    ui_->cmdReport->setEnabled(true);
    document_.SetLastCalculation(std::move(calculation));
    if (diagrams_)
        ShowDiagrams();
}

void frmLatcap::cmdReport_Click()
{
    if (!document_.LastCalculation())
        return;
    JobDetails details = document_.Job();
    if (!platform_.editJobDetails(this, details))
        return;
    document_.SetJob(details);
    const ReportSource source { document_.LastCalculation(), ui_->Text1->text(),
        document_.CsfFrom() == CaseDocument::CsfSource::LatcapIni ? QStringLiteral("from Latcap.ini")
                                                                  : QStringLiteral("from the CSF box"),
        QStringLiteral("latcap " LATCAP_VERSION), QDateTime::currentDateTime(), document_.Job(), nullptr };
    const SaveRequest request { QStringLiteral("Save Calculation Report"),
        QStringLiteral("PDF files(*.pdf)|*.pdf|All files (*.*)|*.*"), ReportFileName(), QStringLiteral("pdf"),
        document_.Path() };
    const CalcReport report = MakeCalcReport(source);
    SaveThroughDialog(platform_, this, request,
        [&report](QIODevice& device, QString& error) { return WriteCalcReportPdf(device, report, error); });
}

// The case file's name, else the title, as a PDF name; empty without either.
QString frmLatcap::ReportFileName() const
{
    const QString& path = document_.Path();
    QString base = path.isEmpty() ? ui_->Text1->text().simplified() : QFileInfo(path).completeBaseName();
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        base.replace(c, QLatin1Char('-'));
    return base.isEmpty() ? QString() : base + QStringLiteral(".pdf");
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

void frmLatcap::cmdKqKcTables_Click()
{
    FillKqTable(*state_);
    FillKcTable(*state_);
    WriteKqKcTables();
}

void frmLatcap::WriteKqKcTables() { SaveCoefficientTables(platform_, this, *state_, QDir::currentPath()); }

// The copy shows the window on white paper without the commands that mean
// nothing there; the window looks as before afterwards, whatever happened.
void frmLatcap::cmdPrint_Click()
{
    QImage page;
    QString reason;
    bool printed = false;
    {
        const QPalette before = palette();
        const std::array<QPushButton*, 9> offPaper { ui_->cmdPrint, ui_->cmdExport, ui_->cmdExit, ui_->cmdHelp,
            ui_->cmdOpen, ui_->cmdSave, ui_->cmdSaveAs, ui_->cmdReport, ui_->cmdDiagrams };
        // Hiding the focused button would pass the focus on to the next box,
        // which then shows its whole text selected on paper; the window itself
        // holds the focus while the page is taken.
        const QPointer<QWidget> focused = focusWidget();
        setFocus(Qt::OtherFocusReason);
        const auto restore = qScopeGuard([&] {
            setPalette(before);
            for (QPushButton* button : offPaper)
                button->show();
            if (focused)
                focused->setFocus(Qt::OtherFocusReason);
        });
        QPalette paper = before;
        paper.setColor(QPalette::Window, Qt::white);
        setPalette(paper);
        for (QPushButton* button : offPaper)
            button->hide();
        page = grab().toImage();
        printed = platform_.printPage(page, reason);
    }
    // The window looks itself again before it says that printing failed.
    if (!printed)
        OfferPagePdf(platform_, this, page, reason, document_.Path());
}

void frmLatcap::cmdHelp_Click() { platform_.showHelp(this); }

void frmLatcap::cmdExit_Click() { close(); }

void frmLatcap::closeEvent(QCloseEvent* event)
{
    if (!MayLoseChanges()) {
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

// With no case file in use the window keeps its plain title.
void frmLatcap::ShowCaseTitle()
{
    if (document_.Path().isEmpty())
        return;
    setWindowTitle(QFileInfo(document_.Path()).fileName() + QStringLiteral("[*] - ") + Text(text::kAppTitle));
    setWindowModified(document_.IsModified());
}

bool frmLatcap::MayLoseChanges()
{
    if (document_.Path().isEmpty() || !document_.IsModified())
        return true;
    const QString question
        = QStringLiteral("Save the changes to %1?").arg(QFileInfo(document_.Path()).fileName());
    switch (platform_.askUnsaved(this, Text(text::kAppTitle), question)) {
    case Platform::Unsaved::Save:
        return cmdSave_Click();
    case Platform::Unsaved::Discard:
        return true;
    case Platform::Unsaved::Cancel:
        break;
    }
    return false;
}

void frmLatcap::cmdOpen_Click()
{
    if (!MayLoseChanges())
        return;
    const QString path = platform_.getOpenFileName(this, QStringLiteral("Open Case"), Text(kCaseFilter));
    if (!path.isEmpty())
        LoadCase(path);
}

bool frmLatcap::OpenCase(const QString& path) { return MayLoseChanges() && LoadCase(path); }

bool frmLatcap::LoadCase(const QString& path)
{
    QString fault;
    if (!document_.Load(path, fault)) {
        platform_.showMessage(this, Text(text::kErrorTitle),
            QStringLiteral("The case file could not be opened.\n") + fault, Platform::Buttons::Ok);
        return false;
    }
    ui_->Text1->setFocus(Qt::OtherFocusReason);
    return true;
}

bool frmLatcap::cmdSave_Click()
{
    const QString path = document_.Path();
    if (path.isEmpty())
        return cmdSaveAs_Click();
    if (!SaveReportingFailure(platform_, this, path, BytesWriter(document_.FileText())))
        return false;
    document_.Saved(path);
    return true;
}

bool frmLatcap::cmdSaveAs_Click()
{
    const QString& path = document_.Path();
    const SaveRequest request { QStringLiteral("Save Case"), Text(kCaseFilter),
        path.isEmpty() ? QString() : QFileInfo(path).fileName(), QStringLiteral("case") };
    QString saved;
    if (!SaveThroughDialog(platform_, this, request, BytesWriter(document_.FileText()), &saved))
        return false;
    document_.Saved(saved);
    return true;
}

} // namespace latcap
