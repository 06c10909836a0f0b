#include "grid/UserInt.h"

#include <cmath>
#include <cstring>

TUserInt::TUserInt(QObject* parent) : TUserCell(parent) {}

void TUserInt::SetFormat(const QString& format) {
    format_ = format;
    formatBytes_ = format.toStdString();
    if (Grid())
        Grid()->Repaint();
}

void TUserInt::SetTyp(VarTyp typ) {
    typ_ = typ;
    if (Grid())
        Grid()->Repaint();
}

int TUserInt::DatLen() const {
    return typ_ == uInteger ? 4 : 8;
}

void TUserInt::ValueToText(const void* value, QString& text) {
    if (!value)
        return;
    switch (typ_) {
    case uInteger: {
        int32_t integer;
        std::memcpy(&integer, value, sizeof integer);
        text = QString::fromStdString(FormatInteger(formatBytes_, integer));
        break;
    }
    case uDouble: {
        double real;
        std::memcpy(&real, value, sizeof real);
        text = QString::fromStdString(FormatReal(formatBytes_, real));
        break;
    }
    case uString: {
        const char* chars = static_cast<const char*>(value);
        text = QString::fromUtf8(chars, static_cast<qsizetype>(strnlen(chars, kMaxCellText)));
        break;
    }
    }
}

QString TUserInt::ExactText(const void* value) {
    if (!value || typ_ == uString)
        return TUserCell::ExactText(value);
    if (typ_ == uInteger) {
        int32_t integer;
        std::memcpy(&integer, value, sizeof integer);
        return QString::number(integer);
    }
    double real;
    std::memcpy(&real, value, sizeof real);
    return QString::fromStdString(ExactReal(real));
}

QChar TUserInt::Charfilter(QChar ch) {
    if (ch >= u'0' && ch <= u'9')
        return ch;
    if (typ_ == uString)
        return ch;
    if (typ_ == uDouble && QStringLiteral("+-Ee.,").contains(ch))
        return ch;
    return QChar();
}

const void* TUserInt::TextToValue(const QString& text) {
    switch (typ_) {
    case uInteger:
        if (!ReadLeadingInteger(text.toStdString(), integer_))
            return nullptr;
        return &integer_;
    case uDouble: {
        // Only the first comma is a decimal point; a second one ends the number.
        QString number = text;
        if (const qsizetype comma = number.indexOf(u','); comma >= 0)
            number[comma] = u'.';
        if (!ReadLeadingReal(number.toStdString(), real_))
            return nullptr;
        return &real_;
    }
    case uString:
        string_ = text.toStdString();
        return string_.c_str();
    }
    return nullptr;
}

// Applies operation to the stored number; a result that does not fit its
// type (beyond 32 bits, not finite) leaves the value as it was.
template <class Operation> bool TUserInt::Calculate(void* value, Operation operation) {
    if (!value)
        return true;
    if (typ_ == uInteger) {
        int32_t integer;
        std::memcpy(&integer, value, sizeof integer);
        const double result = std::trunc(operation(static_cast<double>(integer)));
        if (!(result >= INT32_MIN && result <= INT32_MAX))
            return false;
        integer = static_cast<int32_t>(result);
        std::memcpy(value, &integer, sizeof integer);
    } else if (typ_ == uDouble) {
        double real;
        std::memcpy(&real, value, sizeof real);
        const double result = operation(real);
        if (!std::isfinite(result))
            return false;
        std::memcpy(value, &result, sizeof result);
    }
    return true;
}

bool TUserInt::Add(void* value, double x) {
    return Calculate(value, [x](double v) { return v + x; });
}

bool TUserInt::Mult(void* value, double x) {
    return Calculate(value, [x](double v) { return v * x; });
}
