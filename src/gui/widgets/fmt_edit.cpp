#include "gui/widgets/fmt_edit.h"

#include <QApplication>
#include <QCursor>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <cmath>

#include "common/errors.h"
#include "gui/widgets/units_form.h"

namespace velmora::gui {
namespace {

std::string s(const QString& q) { return q.toStdString(); }
QString q(const std::string& s) { return QString::fromStdString(s); }

// The part of a pair format before its first "/".
QString firstHalf(const QString& f) {
    const int p = f.indexOf('/');
    return p < 0 ? f : f.left(p);
}

}  // namespace

QxCustomEdit::QxCustomEdit(QWidget* parent) : QLineEdit(parent) {
    setText("0.0");
    connect(this, &QLineEdit::textEdited, this, [this] { modified_ = true; });
}

QxCustomEdit::~QxCustomEdit() { SetUnitsLabel(nullptr); }

void QxCustomEdit::SetFormatStr(const QString& f) {
    formatStr_ = f;
    if (f == "%S" && text() == "0.0") clear();
}

void QxCustomEdit::SetUnitsType(TUnitsType t) {
    unitsType_ = t;
    unitsValue_ = ClampUnitsIndex(t, unitsValue_);
    unitsBase_ = ClampUnitsIndex(t, unitsBase_);
    factor_ = 1;
    offset_ = 0;
    ApplyUnits();
}

void QxCustomEdit::SetUnitsValue(int index) {
    unitsValue_ = ClampUnitsIndex(unitsType_, index);
    ApplyUnits();
}

void QxCustomEdit::SetUnitsBase(int index) {
    unitsBase_ = ClampUnitsIndex(unitsType_, index);
    ApplyUnits();
}

void QxCustomEdit::SetUnitsLabel(QLabel* label) {
    if (!label) {
        if (auto* old = qobject_cast<TFmtEditLabel*>(unitsLabel_.data())) old->unlink(this);
        if (IsStringFormat(s(formatStr_))) formatStr_ = "%0.1f";
        unitsLabel_ = nullptr;
        return;
    }
    if (unitsLabel_ && unitsLabel_ != label) SetUnitsLabel(nullptr);
    unitsLabel_ = label;
    if (auto* l = qobject_cast<TFmtEditLabel*>(label)) {
        l->link(this);
        SetUnitsValue(unitsValue_);
    }
}

QVariant QxCustomEdit::Value() const {
    const QString raw = text();
    try {
        const std::string f = s(formatStr_);
        if (IsStringFormat(f)) return q(FormatString(f, s(raw)));
        if (IsPairFormat(f)) {
            const PairValue p = ParsePair(s(raw));
            const double a = FromDisplayUnits(p.first, factor_, offset_);
            if (p.hasSeparator) {
                const double b = FromDisplayUnits(p.second, factor_, offset_);
                return q(Format(f, {a, b}));
            }
            return q(FormatFloat("%0.4g", a));
        }
        const double v = FromDisplayUnits(TextToFloat(CleanNumberText(s(raw))), factor_, offset_);
        if (IsIntegerFormat(f)) return static_cast<qlonglong>(RoundHalfEven(v));
        return v;
    } catch (const std::exception&) {
        return raw;
    }
}

void QxCustomEdit::SetValue(const QVariant& v) {
    try {
        const std::string f = s(formatStr_);
        if (IsStringFormat(f)) {
            setText(q(FormatString(f, s(v.toString()))));
            return;
        }
        if (IsPairFormat(f)) {
            const PairValue p = ParsePair(s(v.toString()));
            const double a = ToDisplayUnits(p.first, factor_, offset_);
            const double b = ToDisplayUnits(p.hasSeparator ? p.second : 0.0, factor_, offset_);
            setText(q(Format(f, {a, b})));
            return;
        }
        double x;
        if (v.typeId() == QMetaType::QString) x = TextToFloat(s(v.toString()));
        else {
            bool ok = false;
            x = v.toDouble(&ok);
            if (!ok) throw ConversionError("not a number");
        }
        x = ToDisplayUnits(x, factor_, offset_);
        if (IsIntegerFormat(f)) setText(q(FormatInt(f, RoundHalfEven(x))));
        else if (IsRealFormat(f)) setText(q(FormatValue(x, f, formatType_, sigDigs_)));
    } catch (const std::exception&) {
        clear();
    }
}

void QxCustomEdit::ApplyUnits() {
    const std::string f0 = s(formatStr_);
    if (unitsType_ == utNone && (IsStringFormat(f0) || IsIntegerFormat(f0))) return;
    const bool pair = IsPairFormat(f0);
    const QVariant held = Value();
    double number = 0;
    if (!pair) {
        if (held.typeId() == QMetaType::QString) return;  // not a number: leave everything
        number = held.toDouble();
    }
    UnitsConversion c;
    c.factor = factor_;
    c.offset = offset_;
    GetUnitsConversion(unitsType_, unitsValue_, unitsBase_, c);
    factor_ = c.factor;
    offset_ = c.offset;
    if (formatType_ != ft_Manual && unitsType_ != utNone) formatStr_ = q(c.format);
    if (IsStringFormat(s(formatStr_))) return;
    decimals_ = FormatDecimals(s(formatStr_));
    if (unitsLabel_) unitsLabel_->setText(q(c.label));
    if (pair) {
        if (!formatStr_.contains('/')) formatStr_ = formatStr_ + "/" + formatStr_;
        SetValue(held.toString());
    } else {
        SetValue(number);
    }
}

void QxCustomEdit::RestoreText() {
    if (!modified_) return;
    setText(textAtEntry_);
    modified_ = false;
}

bool QxCustomEdit::FormatText(const QString& typed) {
    const std::string f = s(formatStr_);
    if (IsStringFormat(f)) {
        setText(q(FormatString(f, s(typed))));
        modified_ = true;
        return true;
    }
    try {
        const std::string clean = CleanNumberText(s(typed));
        const double lo = rangeLo_ * factor_ + offset_, hi = rangeHi_ * factor_ + offset_;
        bool ok = true;
        std::string out;
        if (IsPairFormat(f)) {
            PairValue p = ParsePair(clean);
            if (p.hasSeparator) {
                const bool a = RangeCheck(p.first, lo, hi);
                const bool b = RangeCheck(p.second, lo, hi);
                ok = a && b;
                out = Format(f, {p.first, p.second});
            } else {
                ok = RangeCheck(p.first, lo, hi);
                out = FormatFloat(s(firstHalf(formatStr_)), p.first);
            }
        } else {
            double v = TextToFloat(clean);
            ok = RangeCheck(v, lo, hi);
            out = IsIntegerFormat(f) ? FormatInt(f, RoundHalfEven(v)) : FormatValue(v, f, formatType_, sigDigs_);
        }
        if (q(out) != text()) setText(q(out));
        modified_ = true;
        return ok;
    } catch (const std::exception&) {
        return true;  // not a number: stays as typed; the caller's conversion will say so
    }
}

void QxCustomEdit::SignalError() { QApplication::beep(); }

void QxCustomEdit::ValidateText() {
    if (!modified_ || FormatText(text())) return;
    refocusing_ = true;
    QTimer::singleShot(0, this, [this] {
        setFocus(Qt::OtherFocusReason);
        refocusing_ = false;
    });
    modified_ = true;
    SignalError();
}

void QxCustomEdit::CommitAndExit() {
    ValidateText();
    emit exited(this);
    modified_ = false;
}

bool QxCustomEdit::IsValidChar(QChar c) {
    modified_ = true;
    const std::string f = s(formatStr_);
    const bool digit = c >= '0' && c <= '9';
    if (IsPairFormat(f)) return digit || c == '-' || c == '.' || c == '/';
    if (IsIntegerFormat(f)) return digit || c == '-';
    if (IsRealFormat(f)) return digit || c == '-' || c == '.' || (IsGeneralFormat(f) && (c == 'e' || c == 'E'));
    return true;
}

bool QxCustomEdit::event(QEvent* e) {
    // While modified, Escape belongs to the field (it reverts the text)
    // rather than to the dialog's cancel button or a window shortcut.
    if (e->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (k->key() == Qt::Key_Escape && modified_) {
            e->accept();
            return true;
        }
    }
    return QLineEdit::event(e);
}

void QxCustomEdit::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    if (key == Qt::Key_Backspace) {
        if (CanModifyText() && !isReadOnly()) {
            const int start = hasSelectedText() ? selectionStart() : cursorPosition();
            if (start > 0) {
                QString t = text();
                t.remove(start - 1, 1);
                setText(t);
                setCursorPosition(start - 1);
            }
            modified_ = true;
        }
        e->accept();
        return;
    }
    if (mods == Qt::ControlModifier && (key == Qt::Key_C || key == Qt::Key_V || key == Qt::Key_X)) {
        QLineEdit::keyPressEvent(e);
        return;
    }
    if (key == Qt::Key_Escape) {
        if (modified_) {
            RestoreText();
            e->accept();
        } else {
            e->ignore();  // reaches the dialog
        }
        return;
    }
    const QString t = e->text();
    const bool isChar = !t.isEmpty() && (t.at(0).isPrint() || key == Qt::Key_Return || key == Qt::Key_Enter);
    if (!isChar || (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        QLineEdit::keyPressEvent(e);  // cursor keys, Delete, shortcuts
        return;
    }
    e->accept();
    if (!CanModifyText() || isReadOnly()) return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        ValidateText();
        return;
    }
    if (selectedText().size() >= 2) {
        const int start = selectionStart();
        QString x = text();
        x.remove(start, selectedText().size());
        setText(x);
        setCursorPosition(start);
        modified_ = true;
    }
    for (const QChar c : t) {
        if (IsValidChar(c)) insert(QString(c));
        else SignalError();
    }
}

void QxCustomEdit::focusInEvent(QFocusEvent* e) {
    const bool windowSwitch = e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason;
    if (!refocusing_ && !windowSwitch) {
        textAtEntry_ = text();
        modified_ = false;
    }
    QLineEdit::focusInEvent(e);
}

void QxCustomEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    // Another window taking the focus (a message box, the units list) is not
    // leaving the field.
    if (e->reason() == Qt::ActiveWindowFocusReason || e->reason() == Qt::PopupFocusReason) return;
    ValidateText();
    emit exited(this);
}

// --- TFmtEditLabel --------------------------------------------------------------

TFmtEditLabel::TFmtEditLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    setToolTip(tr("Click to choose the units"));
}

TFmtEditLabel::~TFmtEditLabel() {
    const auto edits = edits_;
    for (const auto& e : edits)
        if (e) e->unitsLabel_ = nullptr;
}

void TFmtEditLabel::link(QxCustomEdit* e) {
    for (const auto& x : edits_)
        if (x == e) return;
    edits_.append(e);
}

void TFmtEditLabel::unlink(QxCustomEdit* e) {
    edits_.removeIf([e](const QPointer<QxCustomEdit>& x) { return x == e || !x; });
}

void TFmtEditLabel::ChooseUnits(int index) {
    const auto edits = edits_;
    for (const auto& e : edits) {
        if (!e) continue;
        e->SetUnitsValue(index);
        emit e->unitsEdited(e);
    }
}

int TFmtEditLabel::PopupUnits() {
    QxCustomEdit* first = nullptr;
    for (const auto& e : edits_)
        if (e) { first = e; break; }
    if (!first) return -1;
    TUnitsForm form(this);
    form.Fill(first->UnitsType(), first->UnitsValue());
    form.move(QCursor::pos() + QPoint(5, 5));
    form.exec();
    return form.SelectedIndex();
}

void TFmtEditLabel::mousePressEvent(QMouseEvent* e) {
    QLabel::mousePressEvent(e);
    if (edits_.isEmpty()) {
        emit clicked();
        return;
    }
    const int index = PopupUnits();
    ChooseUnits(index);
    emit clicked();
}

}  // namespace velmora::gui
