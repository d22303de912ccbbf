#pragma once
// Formatted numeric edit with units: filters the keys its format allows,
// rewrites the text in its format on Enter or on leaving, range-checks it,
// and converts between the value the program holds (base unit) and the text
// the user sees (display unit). TFmtEditLabel beside it shows the unit and
// pops up the list of units.
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QPointer>
#include <QVariant>

#include "units/number_text.h"
#include "units/units.h"

namespace velmora::gui {

class TFmtEditLabel;

class QxCustomEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit QxCustomEdit(QWidget* parent = nullptr);
    ~QxCustomEdit() override;

    double RangeLo() const { return rangeLo_; }
    double RangeHi() const { return rangeHi_; }
    void SetRangeLo(double v) { rangeLo_ = v; }
    void SetRangeHi(double v) { rangeHi_ = v; }
    void SetRange(double lo, double hi) { rangeLo_ = lo; rangeHi_ = hi; }

    TUnitsType UnitsType() const { return unitsType_; }
    void SetUnitsType(TUnitsType t);
    int UnitsValue() const { return unitsValue_; }
    void SetUnitsValue(int index);
    int UnitsBase() const { return unitsBase_; }
    void SetUnitsBase(int index);
    QLabel* UnitsLabel() const { return unitsLabel_; }
    void SetUnitsLabel(QLabel* label);

    TFormatType FormatType() const { return formatType_; }
    void SetFormatType(TFormatType t) { formatType_ = t; }
    int SigDigs() const { return sigDigs_; }
    void SetSigDigs(int d) { sigDigs_ = d; }
    QString FormatStr() const { return formatStr_; }
    void SetFormatStr(const QString& f);

    double Factor() const { return factor_; }
    double Offset() const { return offset_; }
    int Decimals() const { return decimals_; }

    // The value in the base unit: a number, or text for pair and string
    // formats (and the raw text when it does not convert).
    QVariant Value() const;
    // Writes the value in the base unit; no validation, not marked modified.
    void SetValue(const QVariant& v);

    // Validates, raises the exit event and clears the modified flag.
    void CommitAndExit();

    bool Modified() const { return modified_; }
    void SetModified(bool m) { modified_ = m; }
    QString TextAtEntry() const { return textAtEntry_; }

    virtual bool CanModifyText() { return true; }
    virtual void RestoreText();
    virtual bool FormatText(const QString& text);
    virtual void SignalError();
    virtual void ValidateText();
    void ApplyUnits();

signals:
    void exited(velmora::gui::QxCustomEdit* sender);
    void unitsEdited(velmora::gui::QxCustomEdit* sender);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    bool event(QEvent* e) override;
    bool IsValidChar(QChar c);

private:
    friend class TFmtEditLabel;
    double rangeLo_ = 0, rangeHi_ = 0;
    TUnitsType unitsType_ = utNone;
    int unitsValue_ = 0, unitsBase_ = 0;
    double factor_ = 1, offset_ = 0;
    QPointer<QLabel> unitsLabel_;
    int decimals_ = 0;
    TFormatType formatType_ = ft_Fixed;
    int sigDigs_ = 5;
    QString formatStr_ = "%0.1f";
    QString textAtEntry_;
    bool modified_ = false;
    bool refocusing_ = false;  // focus given back after a rejected value
};

class TFmtEdit : public QxCustomEdit {
    Q_OBJECT
public:
    using QxCustomEdit::QxCustomEdit;
};

class TFmtEditLabel : public QLabel {
    Q_OBJECT
public:
    explicit TFmtEditLabel(QWidget* parent = nullptr);
    ~TFmtEditLabel() override;

    const QList<QPointer<QxCustomEdit>>& Edits() const { return edits_; }
    // What choosing a unit in the pop-up does: every linked edit, in the
    // order linked, takes the index and raises its units-edited event.
    void ChooseUnits(int index);
    // Pops the units list up at the mouse; returns the index chosen.
    int PopupUnits();

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* e) override;

private:
    friend class QxCustomEdit;
    void link(QxCustomEdit* e);
    void unlink(QxCustomEdit* e);
    QList<QPointer<QxCustomEdit>> edits_;
};

}  // namespace velmora::gui
