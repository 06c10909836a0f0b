#pragma once

#include "grid/GridNumbers.h"
#include "grid/UserCell.h"

#include <cstdint>
#include <string>

// Type of the value a TUserInt column stores.
enum VarTyp { uInteger = 0, uDouble = 1, uString = 2 };

// A column of numbers (or plain text): a 32-bit integer, a double or a
// zero-terminated string, shown with a printf format ("%d", "%#.4lg",
// "%.3lf"). Typed numbers take a comma for the decimal point; a number that
// does not fit (beyond 32 bits, not finite) is refused with the beep and the
// stored value kept.
class TUserInt : public TUserCell {
    Q_OBJECT
public:
    explicit TUserInt(QObject* parent = nullptr);

    // The printf conversion that shows a value. An empty format, or one that
    // does not convert the column's type, shows an empty text.
    const QString& Format() const { return format_; }
    void SetFormat(const QString& format);
    VarTyp Typ() const { return typ_; }
    void SetTyp(VarTyp typ);

    void ValueToText(const void* value, QString& text) override;
    QChar Charfilter(QChar ch) override;
    bool Add(void* value, double x) override;
    bool Mult(void* value, double x) override;
    const void* TextToValue(const QString& text) override;
    QString ExactText(const void* value) override;
    // Bytes of the stored value: 4 for uInteger, 8 otherwise.
    virtual int DatLen() const;

private:
    template <class Operation> bool Calculate(void* value, Operation operation);

    QString format_;
    std::string formatBytes_;
    VarTyp typ_ = uInteger;
    int32_t integer_ = 0;
    double real_ = 0.0;
    std::string string_;
};
