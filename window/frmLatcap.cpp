#include "frmLatcap.h"

#include "Coefficients.h"
#include "Commands.h"
#include "DropDownList.h"
#include "Export.h"
#include "FileFormats.h"
#include "InputData.h"
#include "Messages.h"
#include "NumberText.h"
#include "PileSketch.h"
#include "Platform.h"
#include "Print.h"
#include "Tables.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
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

namespace latcap {
namespace {

    // The window's fixed inner size, 10695 by 9960 twips.
    constexpr QSize kWindowSize(713, 664);

    // Layer table: row 0 and the columns every row shares.
    constexpr int kRowTop = 416;
    constexpr int kBoxHeight = 21;
    constexpr int kLayerNoDrop = 4; // layer numbers stand a little lower than the boxes
    constexpr QRect kLayerNo0(20, kRowTop + kLayerNoDrop, 40, 17);
    constexpr QRect kFrom0(72, kRowTop, 46, kBoxHeight);
    constexpr QRect kTo0(132, kRowTop, 46, kBoxHeight);
    constexpr QRect kGama0(196, kRowTop, 60, kBoxHeight);
    constexpr QRect kC0(268, kRowTop, 60, kBoxHeight);
    constexpr QRect kPhi0(340, kRowTop, 60, kBoxHeight);
    constexpr QRect kD0(412, kRowTop, 60, kBoxHeight);
    constexpr int kHeadingTop = 394;
    constexpr int kCopyButtonTop = 374;
    constexpr int kCopyButtonSize = 17;

    constexpr QPoint kSketchOrigin(300, 70);

    const char* const kDisclaimer
        = "The results of this program must be checked by a qualified engineer before they are used. "
          "The program comes without warranty of any kind.";

    QString Text(const char* latin1) { return QString::fromLatin1(latin1); }

    QString FromStd(const std::string& text) { return QString::fromStdString(text); }

    QFont WindowFont()
    {
        QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(8.25);
        return font;
    }

    QFont ArialFont(qreal points = 8.25, bool bold = false)
    {
        QFont font(QStringLiteral("Arial"));
        font.setStyleHint(QFont::SansSerif);
        font.setPointSizeF(points);
        font.setBold(bold);
        return font;
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

    QString ArrayName(const char* name, int index) { return Text(name) + QLatin1Char('_') + QString::number(index); }

    // Shows each solver report in a message box under the program's title and
    // remembers the last one for the status line.
    class MessageSink final : public SolverSink {
    public:
        MessageSink(Platform& platform, QWidget* window)
            : platform_(platform)
            , window_(window)
        {
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
    };

} // namespace

frmLatcap::frmLatcap(Platform& platform, QWidget* parent)
    : QWidget(parent)
    , platform_(platform)
    , state_(std::make_unique<AnalysisState>())
{
    setObjectName(QStringLiteral("frmLatcap"));
    setWindowTitle(Text(text::kAppTitle));
    setFixedSize(kWindowSize);
    setFont(WindowFont());
    QIcon icon;
    icon.addPixmap(Artwork(QStringLiteral("latcap.svg"), QSize(16, 16)));
    icon.addPixmap(Artwork(QStringLiteral("latcap.svg"), QSize(32, 32)));
    setWindowIcon(icon);

    CreateControls();
    ConnectHandlers();
    Form_Load();
}

frmLatcap::~frmLatcap() = default;

void frmLatcap::CreateControls()
{
    const QFont arial = ArialFont();
    auto label = [this, &arial](const QString& name, const QString& caption, const QRect& where,
                     Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(name);
        l->setFont(arial);
        l->setAlignment(align);
        l->setGeometry(where);
        return l;
    };
    auto box = [this, &arial](const QString& name, const QRect& where, const QString& tip) {
        auto* b = new QLineEdit(this);
        b->setObjectName(name);
        b->setFont(arial);
        b->setGeometry(where);
        b->setToolTip(tip);
        return b;
    };
    auto button = [this](const QString& name, const QString& caption, const QRect& where) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        b->setGeometry(where);
        b->setAutoDefault(false);
        return b;
    };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignHCenter | Qt::AlignVCenter;

    // Heading band.
    lblTitle = label(QStringLiteral("lblTitle"), Text(text::kAppTitle), QRect(8, 10, 600, 18), centre);
    lblTitle->setFont(ArialFont(9.75, true));
    Text1 = box(QStringLiteral("Text1"), QRect(20, 34, 576, 24), QStringLiteral("Write Title"));
    QFont titleFont = WindowFont();
    titleFont.setPointSizeF(9.75);
    titleFont.setBold(true);
    Text1->setFont(titleFont);
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(617, 8, 88, 171);
    Image1->setPixmap(Artwork(QStringLiteral("logo.svg"), QSize(88, 171)));

    // Strength factor, loads and depth.
    const QString csfTip = QStringLiteral("Component Strength Factor");
    Lable[13]
        = label(QStringLiteral("Lable_13"), QStringLiteral("Component Strength Factor:"), QRect(8, 74, 160, 17), right);
    Lable[13]->setToolTip(csfTip);
    Lable[12] = label(QStringLiteral("Lable_12"), QStringLiteral("CSF = "), QRect(16, 94, 70, 21), right);
    Lable[12]->setToolTip(csfTip);
    txtCSF = box(QStringLiteral("txtCSF"), QRect(88, 94, 80, 21),
        QStringLiteral("Component Strength Factor (Material Reduction Factor)"));
    txtCSF->setText(Text(text::kDefaultCsf));

    Lable[7] = label(QStringLiteral("Lable_7"), QStringLiteral("H = "), QRect(16, 132, 70, 21), right);
    txtH = box(QStringLiteral("txtH"), QRect(88, 132, 80, 21), QStringLiteral("Lateral Load [kN]"));
    Lable[9] = label(QStringLiteral("Lable_9"), QStringLiteral("kN"), QRect(172, 132, 34, 21));

    Lable[6] = label(QStringLiteral("Lable_6"), QStringLiteral("M = "), QRect(16, 162, 70, 21), right);
    txtM = box(QStringLiteral("txtM"), QRect(88, 162, 80, 21), QStringLiteral("Moment [kNm]"));
    Lable[10] = label(QStringLiteral("Lable_10"), QStringLiteral("kNm"), QRect(172, 162, 34, 21));
    cmdCalcL = button(QStringLiteral("cmdCalcL"), QStringLiteral("Calc L"), QRect(210, 160, 75, 25));
    cmdCalcL->setFont(arial);
    cmdCalcL->setToolTip(QStringLiteral("Calculate required depth based on H and M"));

    Lable[8] = label(QStringLiteral("Lable_8"), QStringLiteral("L = "), QRect(16, 192, 70, 21), right);
    txtL = box(QStringLiteral("txtL"), QRect(88, 192, 80, 21), QStringLiteral("Pile Depth [m]"));
    Lable[11] = label(QStringLiteral("Lable_11"), QStringLiteral("m"), QRect(172, 192, 34, 21));
    cmdCalcM = button(QStringLiteral("cmdCalcM"), QStringLiteral("Calc M"), QRect(210, 190, 75, 25));
    cmdCalcM->setFont(arial);
    cmdCalcM->setToolTip(QStringLiteral("Calculate maximum Moment based on H and L"));

    lblZr = label(QStringLiteral("lblZr"), QStringLiteral("Zr = "), QRect(88, 226, 160, 17));

    CreateSketch();

    // Results.
    Lable[14]
        = label(QStringLiteral("Lable_14"), QStringLiteral("Max Forces In Pile:"), QRect(490, 198, 120, 17), right);
    Lable[14]->setToolTip(csfTip);
    lblMoment = new QLabel(QStringLiteral("Moment = "), this);
    lblMoment->setObjectName(QStringLiteral("lblMoment"));
    lblMoment->setGeometry(520, 220, 185, 17);
    lblShear = new QLabel(QStringLiteral("Shear = "), this);
    lblShear->setObjectName(QStringLiteral("lblShear"));
    lblShear->setGeometry(520, 240, 185, 17);
    cmdKqKcTables = button(
        QStringLiteral("cmdKqKcTables"), QStringLiteral("Generate Kq and Kc Tables"), QRect(520, 272, 170, 36));
    cmdKqKcTables->hide();

    CreateLayerTable();

    // Bottom band.
    lblWhat = new QLabel(QStringLiteral("What"), this);
    lblWhat->setObjectName(QStringLiteral("lblWhat"));
    lblWhat->setGeometry(20, 556, 452, 17);
    lblDisclamer = label(
        QStringLiteral("lblDisclamer"), Text(kDisclaimer), QRect(20, 584, 452, 60), Qt::AlignLeft | Qt::AlignTop);
    lblDisclamer->setWordWrap(true);
    cmdHelp = button(QStringLiteral("cmdHelp"), QString(), QRect(500, 416, 33, 33));
    cmdHelp->setToolTip(QStringLiteral("Open Help File"));
    cmdHelp->setIcon(Artwork(QStringLiteral("help.svg"), QSize(24, 23)));
    cmdHelp->setIconSize(QSize(24, 23));
    cmdExport = button(QStringLiteral("cmdExport"), QStringLiteral("Export Calc Details"), QRect(560, 568, 140, 27));
    cmdPrint = button(QStringLiteral("cmdPrint"), QStringLiteral("Print"), QRect(560, 602, 66, 27));
    cmdPrint->setFont(arial);
    cmdExit = button(QStringLiteral("cmdExit"), QStringLiteral("Exit"), QRect(634, 602, 66, 27));
}

void frmLatcap::CreateSketch()
{
    sketch_ = new PileSketch(this);
    sketch_->move(kSketchOrigin);
    auto caption = [this](int index, const QString& text, QRect where, Qt::Alignment align) {
        auto* l = new QLabel(text, this);
        l->setObjectName(ArrayName("Lable", index));
        l->setFont(ArialFont());
        l->setAlignment(align | Qt::AlignVCenter);
        l->setGeometry(where.translated(kSketchOrigin));
        Lable[static_cast<std::size_t>(index)] = l;
    };
    using namespace sketch;
    caption(0, QStringLiteral("M"), QRect(kPileAxis - 8, -4, 16, 17), Qt::AlignHCenter);
    caption(1, QStringLiteral("H"), QRect(8, kLoadLevel - 9, 16, 17), Qt::AlignRight);
    caption(2, QStringLiteral("Zr"), QRect(kZrDimensionX - 26, (kGround + kRotation) / 2 - 8, 22, 17), Qt::AlignRight);
    caption(3, QStringLiteral("L"), QRect(kLDimensionX - 20, (kGround + kToe) / 2 - 8, 16, 17), Qt::AlignRight);
    caption(4, QStringLiteral("D"), QRect(kPileLeft, kWidthLevel + 4, kPileRight - kPileLeft, 17), Qt::AlignHCenter);
    caption(5, QStringLiteral("Z"), QRect(kDepthAxisX + 5, kDepthAxisEnd - 16, 14, 17), Qt::AlignLeft);
}

void frmLatcap::CreateLayerTable()
{
    const QFont arial = ArialFont();
    auto heading = [this, &arial](int index, const QString& caption, int left, int width, Qt::Alignment align) {
        auto* l = new QLabel(caption, this);
        l->setObjectName(ArrayName("Label", index));
        l->setFont(arial);
        l->setAlignment(align | Qt::AlignVCenter);
        l->setGeometry(left, kHeadingTop, width, 17);
        Label[static_cast<std::size_t>(index)] = l;
    };
    const Qt::Alignment centre = Qt::AlignHCenter;
    const Qt::Alignment left = Qt::AlignLeft;

    Label[4] = new QLabel(QStringLiteral("No Layers:"), this);
    Label[4]->setObjectName(QStringLiteral("Label_4"));
    Label[4]->setFont(arial);
    Label[4]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Label[4]->setGeometry(12, 348, 70, 21);
    selectNoLayers = new DropDownList(this);
    selectNoLayers->setObjectName(QStringLiteral("selectNoLayers"));
    selectNoLayers->setFont(arial);
    selectNoLayers->setGeometry(86, 348, 50, kBoxHeight);
    selectNoLayers->setToolTip(QStringLiteral("Select Number Of Layers"));

    const QPixmap triangle = Artwork(QStringLiteral("triangle.svg"), QSize(15, 15));
    auto copyButton = [this, &triangle](const QString& name, const QRect& column) {
        auto* b = new QPushButton(this);
        b->setObjectName(name);
        b->setAutoDefault(false);
        b->setIcon(triangle);
        b->setIconSize(triangle.size());
        b->setGeometry(column.center().x() - kCopyButtonSize / 2, kCopyButtonTop, kCopyButtonSize, kCopyButtonSize);
        b->setToolTip(QStringLiteral("All Same As Layer 1"));
        return b;
    };
    cmdGama = copyButton(QStringLiteral("cmdGama"), kGama0);
    cmdC = copyButton(QStringLiteral("cmdC"), kC0);
    cmdFrictionAngle = copyButton(QStringLiteral("cmdFrictionAngle"), kPhi0);
    cmdD = copyButton(QStringLiteral("cmdD"), kD0);

    heading(5, QStringLiteral("Layer No"), kLayerNo0.left() - 8, kLayerNo0.width() + 16, centre);
    heading(6, QStringLiteral("Depth Z [m]"), kFrom0.left(), kTo0.right() - kFrom0.left() + 1, centre);
    // The Greek letter and its unit read as one heading centred over the column.
    heading(0, QStringLiteral("\u03B3"), kGama0.left() + 2, 10, left);
    heading(7, QStringLiteral("[kN/m3]"), kGama0.left() + 11, 46, centre);
    heading(1, QStringLiteral("c [kPa]"), kC0.left(), kC0.width(), centre);
    heading(2, QStringLiteral("\u03C6"), kPhi0.left() + 11, 10, left);
    heading(8, QStringLiteral("[deg]"), kPhi0.left() + 21, 30, left);
    heading(3, QStringLiteral("D [m]"), kD0.left(), kD0.width(), centre);

    lblLayerNo[0] = new QLabel(QStringLiteral("1"), this);
    lblLayerNo[0]->setObjectName(QStringLiteral("lblLayerNo_0"));
    lblLayerNo[0]->setFont(arial);
    lblLayerNo[0]->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    lblLayerNo[0]->setGeometry(kLayerNo0);
    auto rowBox = [this, &arial](const char* name, const QRect& where, const QString& tip) {
        auto* b = new QLineEdit(this);
        b->setObjectName(ArrayName(name, 0));
        b->setFont(arial);
        b->setGeometry(where);
        b->setToolTip(tip);
        return b;
    };
    const QString depthTip = QStringLiteral("Depth Range For This Layer [m]");
    txtFrom[0] = rowBox("txtFrom", kFrom0, depthTip);
    txtFrom[0]->setFocusPolicy(Qt::NoFocus);
    Line17_0 = new QFrame(this);
    Line17_0->setObjectName(QStringLiteral("Line17_0"));
    Line17_0->setFrameShape(QFrame::HLine);
    Line17_0->setFrameShadow(QFrame::Plain);
    Line17_0->setGeometry(kFrom0.right() + 3, kRowTop + kBoxHeight / 2, kTo0.left() - kFrom0.right() - 5, 1);
    txtTo[0] = rowBox("txtTo", kTo0, depthTip);
    txtGama[0] = rowBox("txtGama", kGama0, QStringLiteral("Soil Density [kN/m3]"));
    txtC[0] = rowBox("txtC", kC0, QStringLiteral("Soil Cohesion [kPa]"));
    selectFrictionAngle[0] = new DropDownList(this);
    selectFrictionAngle[0]->setObjectName(QStringLiteral("selectFrictionAngle_0"));
    selectFrictionAngle[0]->setFont(arial);
    selectFrictionAngle[0]->setGeometry(kPhi0);
    selectFrictionAngle[0]->setToolTip(QStringLiteral("Soil Friction Angle [deg]"));
    txtD[0] = rowBox("txtD", kD0, QStringLiteral("Pile Width [m]"));
}

void frmLatcap::ConnectHandlers()
{
    for (QLineEdit* box : { txtCSF, txtH, txtM, txtL })
        connect(box, &QLineEdit::textChanged, this, &frmLatcap::ChangeInData);
    connect(selectNoLayers, &DropDownList::clicked, this, &frmLatcap::selectNoLayers_Click);
    connect(cmdGama, &QPushButton::clicked, this, &frmLatcap::cmdGama_Click);
    connect(cmdC, &QPushButton::clicked, this, &frmLatcap::cmdC_Click);
    connect(cmdFrictionAngle, &QPushButton::clicked, this, &frmLatcap::cmdFrictionAngle_Click);
    connect(cmdD, &QPushButton::clicked, this, &frmLatcap::cmdD_Click);
    connect(cmdCalcL, &QPushButton::clicked, this, &frmLatcap::cmdCalcL_Click);
    connect(cmdCalcM, &QPushButton::clicked, this, &frmLatcap::cmdCalcM_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmLatcap::cmdExport_Click);
    connect(cmdKqKcTables, &QPushButton::clicked, this, &frmLatcap::cmdKqKcTables_Click);
    connect(cmdPrint, &QPushButton::clicked, this, &frmLatcap::cmdPrint_Click);
    connect(cmdHelp, &QPushButton::clicked, this, &frmLatcap::cmdHelp_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmLatcap::cmdExit_Click);
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(help, &QShortcut::activated, this, [this] { platform_.showHelp(this); });
}

void frmLatcap::Form_Load()
{
    ReadIniFile();
    lblWhat->setText(QString());
    LoadLayers();
    for (int n = 1; n <= 5; ++n)
        selectNoLayers->addItem(FromStd(FormatMask(n, "##")));
    selectNoLayers->selectItem(0);
    cmdPrint->setEnabled(false);
    Text1->setFocus();
}

void frmLatcap::LoadLayers()
{
    const float rowPitch = static_cast<float>(txtFrom[0]->height()) * 1.3f;
    auto addAngles = [](DropDownList* list) {
        for (int degrees = 0; degrees <= 45; degrees += 5)
            list->addItem(FromStd(FormatMask(degrees, "##0")));
        list->selectItem(0);
    };
    auto connectRow = [this](int i) {
        const auto at = static_cast<std::size_t>(i);
        connect(txtTo[at], &QLineEdit::textChanged, this, [this, i] { txtTo_Change(i); });
        for (QLineEdit* box : { txtGama[at], txtC[at], txtD[at] })
            connect(box, &QLineEdit::textChanged, this, &frmLatcap::ChangeInData);
        connect(selectFrictionAngle[at], &QComboBox::editTextChanged, this, &frmLatcap::ChangeInData);
        connect(selectFrictionAngle[at], &DropDownList::clicked, this, &frmLatcap::ChangeInData);
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
        auto* number = new QLabel(FromStd(FormatMask(i + 1, "##")), this);
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
    }
    SetFocusOrder();
}

void frmLatcap::SetFocusOrder()
{
    QList<QWidget*> order { Text1, txtCSF, txtH, txtM, txtL, selectNoLayers };
    for (std::size_t i = 0; i < kRows; ++i)
        order << txtTo[i] << txtGama[i] << txtC[i] << selectFrictionAngle[i] << txtD[i];
    order << cmdGama << cmdC << cmdFrictionAngle << cmdD << cmdCalcL << cmdCalcM << cmdPrint << cmdExport << cmdExit
          << cmdKqKcTables << cmdHelp;
    for (qsizetype i = 1; i < order.size(); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void frmLatcap::MakeThemVisible()
{
    for (int i = 0; i < kRows; ++i) {
        const auto at = static_cast<std::size_t>(i);
        const bool shown = i < state_->NoLayers;
        for (QWidget* element : std::initializer_list<QWidget*> {
                 lblLayerNo[at], txtFrom[at], txtTo[at], txtC[at], txtD[at], selectFrictionAngle[at], txtGama[at] })
            element->setVisible(shown);
    }
}

void frmLatcap::selectNoLayers_Click()
{
    if (state_->NoLayers == 0)
        state_->NoLayers = 1;
    QLineEdit* oldBottom = txtTo[static_cast<std::size_t>(state_->NoLayers - 1)];
    oldBottom->setText(QString());
    oldBottom->setEnabled(true);
    const long chosen = std::lround(ReadNumber(selectNoLayers->currentText().toStdString()));
    state_->NoLayers = static_cast<std::int16_t>(std::clamp<long>(chosen, 1, kRows));
    QLineEdit* newBottom = txtTo[static_cast<std::size_t>(state_->NoLayers - 1)];
    newBottom->setText(QStringLiteral("100"));
    newBottom->setEnabled(false);
    MakeThemVisible();
    ChangeInData();
}

void frmLatcap::txtTo_Change(int index)
{
    if (index < kRows - 1)
        txtFrom[static_cast<std::size_t>(index + 1)]->setText(txtTo[static_cast<std::size_t>(index)]->text());
    ChangeInData();
}

namespace {

    // The copy buttons: layer 1's text into every other row, hidden ones too.
    template <typename Boxes> void CopyDown(const Boxes& boxes)
    {
        for (std::size_t i = 1; i < boxes.size(); ++i)
            boxes[i]->setText(boxes[0]->text());
    }

} // namespace

void frmLatcap::cmdGama_Click() { CopyDown(txtGama); }

void frmLatcap::cmdC_Click() { CopyDown(txtC); }

void frmLatcap::cmdFrictionAngle_Click()
{
    for (std::size_t i = 1; i < kRows; ++i)
        selectFrictionAngle[i]->setEditText(selectFrictionAngle[0]->currentText());
}

void frmLatcap::cmdD_Click() { CopyDown(txtD); }

void frmLatcap::ReadIniFile()
{
    QFile file(Text(text::kIniFile));
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray content = file.readAll();
    const std::optional<std::string> line
        = SettingsCsfLine(std::string_view(content.constData(), static_cast<std::size_t>(content.size())));
    if (line)
        txtCSF->setText(QString::fromLatin1(line->data(), static_cast<qsizetype>(line->size())));
}

void frmLatcap::GetInputData()
{
    InputTexts texts;
    texts.csf = txtCSF->text().toStdString();
    texts.h = txtH->text().toStdString();
    texts.m = txtM->text().toStdString();
    texts.l = txtL->text().toStdString();
    for (std::size_t i = 0; i < kRows; ++i) {
        LayerTexts& row = texts.layers[i];
        row.from = txtFrom[i]->text().toStdString();
        row.to = txtTo[i]->text().toStdString();
        row.gama = txtGama[i]->text().toStdString();
        row.c = txtC[i]->text().toStdString();
        row.phi = selectFrictionAngle[i]->currentText().toStdString();
        row.d = txtD[i]->text().toStdString();
    }
    if (!GatherInputs(texts, *state_))
        platform_.showMessage(this, Text(text::kErrorTitle), Text(text::kNotEnoughData), Platform::Buttons::Ok);
}

void frmLatcap::ChangeInData()
{
    cmdExport->setEnabled(false);
    cmdPrint->setEnabled(false);
    lblMoment->setText(QString());
    lblShear->setText(QString());
    lblZr->setText(QString());
    // A status left by an earlier calculation no longer belongs to the inputs.
    lblWhat->setText(QString());
}

void frmLatcap::ShowResults()
{
    const ResultTexts texts = latcap::ShowResults(*state_);
    lblZr->setText(FromStd(texts.zr));
    lblMoment->setText(FromStd(texts.moment));
    lblShear->setText(FromStd(texts.shear));
}

void frmLatcap::ArithmeticProblem(const char* message)
{
    ChangeInData();
    lblWhat->setText(Text(message));
    platform_.showMessage(this, Text(text::kAppTitle), Text(message), Platform::Buttons::Ok);
}

void frmLatcap::cmdCalcL_Click() { RunCalculation(text::kDepthWait, text::kDepthArithmetic, RunCalcL, txtL); }

void frmLatcap::cmdCalcM_Click() { RunCalculation(text::kMomentWait, text::kMomentArithmetic, RunCalcM, txtM); }

void frmLatcap::RunCalculation(const char* waitText, const char* arithmeticText,
                               CalcOutcome (*run)(AnalysisState&, SolverSink&), QLineEdit* answerBox)
{
    GetInputData();
    if (state_->DataOK == kFalse)
        return;
    lblWhat->setText(Text(waitText));
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    MessageSink sink(platform_, this);
    const CalcOutcome outcome = run(*state_, sink);
    if (outcome.arithmeticProblem) {
        ArithmeticProblem(arithmeticText);
        return;
    }
    // Writing the answer clears the results through the box's change handler,
    // so the results come after it.
    answerBox->setText(FromStd(outcome.answer));
    ShowResults();
    lblWhat->setText(outcome.iterationProblem ? sink.last : QString());
    cmdPrint->setEnabled(true);
    cmdExport->setEnabled(true);
}

void frmLatcap::mouseDoubleClickEvent(QMouseEvent* event)
{
    // Only the bare window counts; the sketch lets its clicks through.
    if (event->button() == Qt::LeftButton && childAt(event->position().toPoint()) == nullptr)
        Form_DblClick();
    QWidget::mouseDoubleClickEvent(event);
}

void frmLatcap::Form_DblClick() { cmdKqKcTables->show(); }

void frmLatcap::cmdExport_Click() { ExportCalcDetails(platform_, this, *state_); }

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
        const std::array<QPushButton*, 4> offPaper { cmdPrint, cmdExport, cmdExit, cmdHelp };
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
        OfferPagePdf(platform_, this, page, reason);
}

void frmLatcap::cmdHelp_Click() { platform_.showHelp(this); }

void frmLatcap::cmdExit_Click() { close(); }

} // namespace latcap
