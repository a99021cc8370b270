#include "CaseDocument.h"

#include "FileFormats.h"
#include "Messages.h"
#include "ReadFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace latcap {
namespace {

    constexpr const char* kDeepestBottom = "100";

    bool IsInput(CaseDocument::Field field) { return field != CaseDocument::Field::Title; }

    bool IsLayerField(CaseDocument::Field field) { return field >= CaseDocument::Field::To; }

} // namespace

CaseDocument::CaseDocument(QObject* parent)
    : QObject(parent)
    , startCsf_(text::kDefaultCsf)
{
    case_.csf = startCsf_;
    // A new row's friction angle list shows its first item.
    for (LayerTexts& layer : case_.layers)
        layer.phi = "0";
}

CaseDocument::~CaseDocument() = default;

QString CaseDocument::ReadSettings()
{
    const QString ini = QString::fromLatin1(text::kIniFile);
    // No settings file is no fault; one that cannot be read is told.
    if (!QFileInfo::exists(ini))
        return {};
    QByteArray content;
    QString reason;
    if (!ReadSmallFile(ini, content, reason))
        return QStringLiteral("%1 was not read: %2. The CSF box keeps its start value.").arg(ini, reason);
    if (const auto line = SettingsCsfLine(std::string_view(content.constData(), std::size_t(content.size())))) {
        startCsf_ = *line;
        case_.csf = startCsf_;
        startSource_ = csfSource_ = CsfSource::LatcapIni;
        Q_EMIT TextChanged();
    }
    return {};
}

namespace {

    // The text of a field in a case, const or not.
    template <typename AnyCase> auto* StoredIn(AnyCase& source, CaseDocument::Field field, int layer)
    {
        auto& row = source.layers[std::size_t(std::clamp(layer, 0, kMaxLayers - 1))];
        switch (field) {
        case CaseDocument::Field::Title:
            return &source.title;
        case CaseDocument::Field::Csf:
            return &*source.csf;
        case CaseDocument::Field::H:
            return &source.h;
        case CaseDocument::Field::M:
            return &source.m;
        case CaseDocument::Field::L:
            return &source.l;
        case CaseDocument::Field::Ei:
            return &source.ei;
        case CaseDocument::Field::Nh:
            return &source.nh;
        case CaseDocument::Field::K:
            return &source.k;
        case CaseDocument::Field::To:
            return &row.to;
        case CaseDocument::Field::Gama:
            return &row.gama;
        case CaseDocument::Field::C:
            return &row.c;
        case CaseDocument::Field::Phi:
            return &row.phi;
        case CaseDocument::Field::D:
            break;
        }
        return &row.d;
    }

} // namespace

QString CaseDocument::Text(Field field, int layer) const
{
    if (field == Field::To && layer == case_.layerCount - 1)
        return QString::fromLatin1(kDeepestBottom);
    return QString::fromStdString(*StoredIn(case_, field, layer));
}

QString CaseDocument::CsfSourceText() const
{
    return csfSource_ == CsfSource::LatcapIni ? QStringLiteral("from Latcap.ini") : QStringLiteral("from the CSF box");
}

QString CaseDocument::ReportFileName() const
{
    QString base = path_.isEmpty() ? Text(Field::Title).simplified() : QFileInfo(path_).completeBaseName();
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        base.replace(c, QLatin1Char('-'));
    return base.isEmpty() ? QString() : base + QStringLiteral(".pdf");
}

QString CaseDocument::Top(int layer) const { return layer == 0 ? QStringLiteral("0") : Text(Field::To, layer - 1); }

void CaseDocument::SetText(Field field, int layer, const QString& text)
{
    if (field == Field::To && layer == case_.layerCount - 1)
        return;
    std::string& stored = *StoredIn(case_, field, layer);
    const std::string typed = text.toStdString();
    if (stored == typed)
        return;
    stored = typed;
    if (field == Field::Csf)
        csfSource_ = CsfSource::Typed;
    Q_EMIT TextChanged();
    Edited(IsInput(field));
}

void CaseDocument::SetLayerCount(int count)
{
    count = std::clamp(count, 1, kMaxLayers);
    case_.layers[std::size_t(case_.layerCount - 1)].to.clear();
    case_.layerCount = count;
    Q_EMIT TextChanged();
    Edited(true);
}

void CaseDocument::CopyDown(Field field)
{
    if (!IsLayerField(field))
        return;
    const std::string first = *StoredIn(case_, field, 0);
    bool changed = false;
    for (int i = 1; i < kMaxLayers; ++i) {
        std::string& stored = *StoredIn(case_, field, i);
        changed = changed || stored != first;
        stored = first;
    }
    if (!changed)
        return;
    Q_EMIT TextChanged();
    Edited(true);
}

void CaseDocument::SetJob(const JobDetails& job)
{
    if (job == case_.job)
        return;
    case_.job = job;
    Edited(false);
}

QString CaseDocument::FactorSetText() const { return QString::fromStdString(case_.factors.value_or("none")); }

QString CaseDocument::CustomFactor(std::size_t index) const
{
    return QString::fromStdString(case_.customFactors.at(index).value_or(std::string()));
}

void CaseDocument::SetFactors(const QString& set, const std::array<QString, 5>& custom)
{
    Case changed = case_;
    std::string error;
    if (set != FactorSetText() && !SetCaseValue(changed, "factors", set.toStdString(), error))
        return;
    for (std::size_t i = 0; i < custom.size(); ++i) {
        if (custom[i] != CustomFactor(i))
            changed.customFactors[i] = custom[i].toStdString();
    }
    if (changed.factors == case_.factors && changed.customFactors == case_.customFactors)
        return;
    case_ = std::move(changed);
    Edited(true);
}

void CaseDocument::InputChosen() { Edited(true); }

void CaseDocument::Edited(bool input)
{
    if (input) {
        last_.reset();
        lastCheck_.reset();
        Q_EMIT InputsChanged();
    }
    SetModified(true);
}

void CaseDocument::SetModified(bool modified)
{
    const bool changed = modified != modified_;
    modified_ = modified;
    if (changed)
        Q_EMIT ModifiedChanged(modified_);
}

bool CaseDocument::Load(const QString& path, QString& fault)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QByteArray content;
    QString reason;
    if (!ReadSmallFile(path, content, reason)) {
        fault = shownPath + QStringLiteral(": ") + reason;
        return false;
    }
    Case loaded;
    std::string error;
    if (!ReadCase(std::string_view(content.constData(), std::size_t(content.size())), shownPath.toStdString(), loaded,
            error)) {
        fault = QString::fromStdString(error);
        return false;
    }
    loaded.layerCount = std::clamp(loaded.layerCount, 1, kMaxLayers);
    csfSource_ = loaded.csf ? CsfSource::Typed : startSource_;
    if (!loaded.csf)
        loaded.csf = startCsf_;
    case_ = std::move(loaded);
    Q_EMIT TextChanged();
    last_.reset();
    lastCheck_.reset();
    Q_EMIT InputsChanged();
    path_ = QFileInfo(path).absoluteFilePath();
    Q_EMIT PathChanged(path_);
    SetModified(false);
    return true;
}

QByteArray CaseDocument::FileText() const
{
    Case written = case_;
    // The deepest bottom shows 100 whatever the file said, and is written as
    // the file said it.
    const auto deepest = std::size_t(written.layerCount - 1);
    if (!written.layerGiven[deepest] || written.layers[deepest].to.empty())
        written.layers[deepest].to = kDeepestBottom;
    std::vector<std::string> comments;
    if (last_) {
        const ResultTexts& shown = last_->results;
        comments.push_back("results shown: " + shown.zr + ", " + shown.moment + ", " + shown.shear);
    }
    return QByteArray::fromStdString(WriteCase(written, comments));
}

void CaseDocument::Saved(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    if (absolute != path_) {
        path_ = absolute;
        Q_EMIT PathChanged(path_);
    }
    SetModified(false);
}

InputTexts CaseDocument::Inputs() const { return CaseInputs(case_, startCsf_); }

void CaseDocument::SetLastCalculation(std::shared_ptr<const Calculation> calculation)
{
    last_ = std::move(calculation);
    lastCheck_.reset();
}

} // namespace latcap
