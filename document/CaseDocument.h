#pragma once

#include "Calculation.h"
#include "CaseFile.h"
#include "DesignCheck.h"
#include "DesignFactors.h"
#include "InputData.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <array>
#include <memory>

namespace latcap {

// The case the window shows, apart from the window: every text of it (the
// title, the job details, the inputs of every layer row, hidden ones too),
// the file it belongs to, whether it has changed since that file was read
// or written, where its CSF came from, and the last calculation that gave
// results while the inputs stayed as they are.
//
// The layer rows follow the window's rules: the top of a layer is the bottom
// of the one above (0 for the first), the deepest layer in use ends at a
// fixed 100 m, and rows beyond the count keep their texts. What the file
// holds that no box shows (layer lines beyond the count, the deepest bottom
// as written) is written back as it was read.
class CaseDocument final : public QObject {
    Q_OBJECT

public:
    // The texts of the case, each the text of one box of the window. Ei, Nh
    // and K are the pile's stiffness and the soil's moduli (Case::ei, nh, k),
    // empty when not given; with EI the calculation judges the pile rigid.
    // The layer fields are named as the row's boxes and LayerTexts name them:
    // To (bottom), Gama (unit weight), C (cohesion), Phi (friction angle)
    // and D (width); a row's top follows from the bottom above (Top).
    enum class Field { Title, Csf, H, M, L, Ei, Nh, K, To, Gama, C, Phi, D };
    // Where the CSF box's text came from.
    enum class CsfSource { StartValue, LatcapIni, Typed };

    explicit CaseDocument(QObject* parent = nullptr);
    ~CaseDocument() override;

    // At start: the CSF from line 2 of Latcap.ini in the working folder.
    // Returns a message when the file is there but cannot be read; the CSF
    // then keeps its start value.
    QString ReadSettings();

    // The text of a field as its box shows it: the deepest bottom in use is
    // always "100". layer counts from 0 and matters for the layer fields only.
    QString Text(Field field, int layer = 0) const;
    QString Top(int layer) const;
    int LayerCount() const { return case_.layerCount; }
    const JobDetails& Job() const { return case_.job; }
    CsfSource CsfFrom() const { return csfSource_; }
    // Where the CSF came from, as the report says it.
    QString CsfSourceText() const;
    // The name of the case's report: the case file's name, else the title,
    // as a PDF name; empty without either.
    QString ReportFileName() const;

    // Typing: a changed input (everything but the title) no longer belongs
    // to the last results, which go. The deepest bottom in use is fixed.
    void SetText(Field field, int layer, const QString& text);
    // A new layer count: the bottom of the former deepest layer is emptied
    // to be typed, the new deepest one ends at 100 m.
    void SetLayerCount(int count);
    // Layer 1's text of a field into every other row, hidden ones too.
    void CopyDown(Field field);
    void SetJob(const JobDetails& job);

    // The partial factors: the set's name ("none" without a factors line)
    // and the numbers of a custom set by their keys (kCustomFactorKeys),
    // empty when not given. A change is a change of the inputs.
    QString FactorSetText() const;
    QString CustomFactor(std::size_t index) const;
    void SetFactors(const QString& set, const std::array<QString, 5>& custom);
    FactorSet Factors() const { return CaseFactorSet(case_); }
    // An item chosen from a list: a change of the input even when the item
    // was already shown.
    void InputChosen();

    // The file in use (empty while there is none) and its changes.
    const QString& Path() const { return path_; }
    bool IsModified() const { return modified_; }

    // Reads a case file into the document. On failure leaves the document as
    // it was and puts "path: reason" or "path:line: what is wrong" into fault.
    bool Load(const QString& path, QString& fault);
    // The text of the case file, with the results of the last calculation as
    // a comment when there are any.
    QByteArray FileText() const;
    // After the file text was written to path.
    void Saved(const QString& path);

    // The inputs of a calculation, as the boxes hold them.
    InputTexts Inputs() const;
    const std::shared_ptr<const Calculation>& LastCalculation() const { return last_; }
    void SetLastCalculation(std::shared_ptr<const Calculation> calculation);
    // The last design check, until an input changes or a calculation runs;
    // the report is then the check's.
    const std::shared_ptr<const DesignCheck>& LastCheck() const { return lastCheck_; }
    void SetLastCheck(std::shared_ptr<const DesignCheck> check) { lastCheck_ = std::move(check); }

Q_SIGNALS:
    // A text has changed: a field, the layer count, or all of them after a
    // file was read.
    void TextChanged();
    // An input has changed, so the last results are gone.
    void InputsChanged();
    void ModifiedChanged(bool modified);
    void PathChanged(const QString& path);

private:
    void Edited(bool input);
    void SetModified(bool modified);

    Case case_;
    std::string startCsf_;
    CsfSource startSource_ = CsfSource::StartValue;
    CsfSource csfSource_ = CsfSource::StartValue;
    QString path_;
    bool modified_ = false;
    std::shared_ptr<const Calculation> last_;
    std::shared_ptr<const DesignCheck> lastCheck_;
};

} // namespace latcap
